#include "CommandLine.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelmap"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELMAP_VERSION));
    CommandLine commandLine;
    return commandLine.run(QCoreApplication::arguments());
}
