#include "FeedCommands.h"

#include "CommandContext.h"
#include "NmapFile.h"
#include "PipelineRunner.h"
#include "ReadCommands.h"
#include "TerminalText.h"

#include <zelmw/networkmap/InUseMapController.h>
#include <zelscan/HomeScanner.h>
#include <zelscan/host/HostTables.h>

#include <QEventLoop>

#include <cstdio>

namespace {

const QCommandLineOption intervalOption(QStringLiteral("interval"),
                                        QStringLiteral("Milliseconds between two records "
                                                       "(default: the library's 500)."),
                                        QStringLiteral("MS"));
const QCommandLineOption
    procNetOption(QStringLiteral("proc-net"),
                  QStringLiteral("Read \"route\" and \"arp\" from DIR instead of /proc/net "
                                 "(default: $ZELMAP_PROC_NET, else /proc/net)."),
                  QStringLiteral("DIR"));

QString procNetDirectory(const QCommandLineParser &parser)
{
    const QString dir = parser.value(procNetOption);
    return dir.isEmpty() ? qEnvironmentVariable("ZELMAP_PROC_NET", QStringLiteral("/proc/net"))
                         : dir;
}

} // namespace

int FeedCommands::feed(const CommandContext &context, const QList<ReplayFile::Step> &steps,
                       const QString &interval, const QString &progressPath)
{
    int intervalMs = -1;
    if (!interval.isEmpty()) {
        bool ok = false;
        intervalMs = interval.toInt(&ok);
        if (!ok || intervalMs < 0)
            return context.fail(CommandContext::UsageError,
                                QStringLiteral("--interval takes milliseconds >= 0, not ")
                                    + interval);
    }
    PipelineRunner runner(steps, intervalMs, progressPath);
    const int status = runner.run();
    const zelmw::NetworkMapSharedPtr map
        = zelmw::InUseMapController::getInstance()->getInUseNetworkMap();
    if (!map)
        return context.fail(CommandContext::Failure,
                            QStringLiteral("no map is in use: the records named no gateway"));
    const int printed = context.print(QStringLiteral("\nmap %1 \"%2\", in use:\n")
                                          .arg(map->getId())
                                          .arg(TerminalText::escaped(map->getName()))
                                      + ReadCommands::deviceTable(map));
    return printed != CommandContext::Success ? printed : status;
}

bool FeedCommands::discover(zelscan::HomeScanner &scanner, QList<ReplayFile::Step> &steps)
{
    QEventLoop loop;
    QObject::connect(&scanner, &zelscan::Scanner::discovered, &loop,
                     [&steps](const QMap<QString, QString> &record) {
                         ReplayFile::Step step;
                         step.record = record;
                         steps.append(step);
                     });
    QObject::connect(&scanner, &zelscan::Scanner::finished, &loop, &QEventLoop::quit);
    scanner.start();
    loop.exec();
    return scanner.error().isEmpty();
}

int FeedCommands::replay(const CommandContext &context)
{
    QCommandLineParser parser;
    parser.addOption(intervalOption);
    const QCommandLineOption progressFile(
        QStringLiteral("progress-file"),
        QStringLiteral("Feed one record at a time and keep in PATH the number of records "
                       "finished, rewritten before the next one is fed; so the store always "
                       "holds that many records or one more."),
        QStringLiteral("PATH"));
    parser.addOption(progressFile);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The recorded scan (JSON Lines); \"-\" is stdin."));
    if (const std::optional<int> done = context.parse(parser, 1, 1))
        return *done;
    ReplayFile file;
    if (!file.read(parser.positionalArguments().first())) {
        // The reason may quote a key of the file, which a scanner wrote.
        std::fprintf(stderr, "%s\n", qPrintable(TerminalText::escaped(file.error())));
        return CommandContext::UsageError;
    }
    return feed(context, file.steps(), parser.value(intervalOption), parser.value(progressFile));
}

int FeedCommands::scan(const CommandContext &context)
{
    QCommandLineParser parser;
    parser.addOption(intervalOption);
    parser.addOption(procNetOption);
    if (const std::optional<int> done = context.parse(parser, 0, 0))
        return *done;
    zelscan::HomeScanner scanner;
    scanner.setProcNetDirectory(procNetDirectory(parser));
    QList<ReplayFile::Step> steps;
    if (!discover(scanner, steps))
        return context.fail(CommandContext::Failure, scanner.error());
    return feed(context, steps, parser.value(intervalOption));
}

int FeedCommands::importFile(const CommandContext &context)
{
    QCommandLineParser parser;
    parser.addOption(intervalOption);
    const QCommandLineOption gatewayOption(
        QStringLiteral("gateway"),
        QStringLiteral("The gateway's IPv4 address (default: this host's default gateway)."),
        QStringLiteral("IP"));
    parser.addOption(gatewayOption);
    parser.addOption(procNetOption);
    parser.addPositionalArgument(QStringLiteral("nmap"), QStringLiteral("The file's format."));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The output of \"nmap -sn -oX FILE\"; \"-\" is "
                                                "stdin."));
    if (const std::optional<int> done = context.parse(parser, 2, 2))
        return *done;
    const QStringList arguments = parser.positionalArguments();
    if (arguments.first() != QLatin1String("nmap"))
        return context.fail(CommandContext::UsageError,
                            QStringLiteral("the only format is nmap, not ")
                                + TerminalText::escaped(arguments.first()));
    QString gateway = parser.value(gatewayOption);
    if (gateway.isEmpty()) {
        zelscan::HostTables tables(procNetDirectory(parser));
        if (!tables.read())
            return context.fail(CommandContext::Failure,
                                tables.error()
                                    + QStringLiteral("; name the gateway with --gateway"));
        gateway = tables.gatewayAddress();
    }
    NmapFile file;
    QList<ReplayFile::Step> steps;
    if (!file.read(arguments.at(1)) || !file.records(gateway, steps))
        // The reason may quote the file, which a scan of the network wrote.
        return context.fail(CommandContext::UsageError, TerminalText::escaped(file.error()));
    return feed(context, steps, parser.value(intervalOption));
}
