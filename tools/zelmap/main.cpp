#include "CommandLine.h"

#include <QCoreApplication>

#include <csignal>

int main(int argc, char *argv[])
{
    // A file over the size limit is then a write that fails, reported, not a killed process.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelmap"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELMAP_VERSION));
    CommandLine commandLine;
    return commandLine.run(QCoreApplication::arguments());
}
