#include "TestSupport.h"

#include <zeldb/ZelDbDatabase.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtGlobal>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace zeltest {

namespace {

QtMessageHandler previousHandler = nullptr;

bool isSqlMisuse(const QString &message)
{
    return message.contains(QLatin1String("does not belong to the calling thread"))
        || message.contains(QLatin1String("is still in use"))
        || message.contains(QLatin1String("duplicate connection name"));
}

void sqlMisuseHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (isSqlMisuse(message)) {
        // QFAIL only works on the test's own thread; abort so a misuse on any thread fails.
        std::fprintf(stderr, "SQL misuse: %s\n", qPrintable(message));
        std::abort();
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

QString isolateDataLocation()
{
    static QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    return dataHome.path();
}

void failOnSqlMisuse()
{
    static std::atomic_bool installed { false };
    if (!installed.exchange(true))
        previousHandler = qInstallMessageHandler(sqlMisuseHandler);
}

bool runWithUnopenableDatabase(const QString &databasePath, const std::function<void()> &work)
{
    // The calling thread's connection would go on using the removed file.
    zeldb::ZelDbDatabase::CloseThreadConnections();
    for (const char *suffix : { "", "-wal", "-shm" })
        QFile::remove(databasePath + QLatin1String(suffix));
    if (!QDir().mkdir(databasePath))
        return false;
    std::thread(work).join();
    return QDir().rmdir(databasePath);
}

} // namespace zeltest
