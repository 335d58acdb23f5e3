#ifndef ZELTEST_ZELMAPPROCESS_H
#define ZELTEST_ZELMAPPROCESS_H

// The tool run as a child process on a store in DATADIR (ZELMAP_BINARY names the program).
#include <QProcess>

#include <memory>

struct Result
{
    int status;
    QByteArray out;
    QByteArray err;
};

inline std::unique_ptr<QProcess> start(const QString &dataDir, const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral(ZELMAP_BINARY),
                   QStringList { "--data-dir", dataDir } + arguments);
    return process;
}

inline Result zelmap(const QString &dataDir, const QStringList &arguments)
{
    const std::unique_ptr<QProcess> process = start(dataDir, arguments);
    if (!process->waitForFinished(60000))
        return { -1, QByteArray(), "timed out" };
    return { process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
             process->readAllStandardOutput(), process->readAllStandardError() };
}

#endif // ZELTEST_ZELMAPPROCESS_H
