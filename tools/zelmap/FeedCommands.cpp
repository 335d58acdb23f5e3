#include "FeedCommands.h"

#include "CommandContext.h"
#include "PipelineRunner.h"
#include "ReadCommands.h"
#include "TerminalText.h"
#include "WatchRunner.h"

#include <zelmw/networkmap/InUseMapController.h>
#include <zelscan/HomeScanner.h>

#include <QEventLoop>
#include <QJsonObject>

#include <cmath>
#include <cstdio>

namespace {

const QCommandLineOption intervalOption(QStringLiteral("interval"),
                                        QStringLiteral("Milliseconds between two records "
                                                       "(default: the library's 500)."),
                                        QStringLiteral("MS"));
const QCommandLineOption interfaceOption(QStringLiteral("interface"),
                                         QStringLiteral("The interface to search on; it must "
                                                        "carry the default route (default: "
                                                        "the default route's)."),
                                         QStringLiteral("IF"));
const QCommandLineOption waitOption(QStringLiteral("wait"),
                                    QStringLiteral("Seconds to listen for UPnP answers "
                                                   "(default: 2)."),
                                    QStringLiteral("SECONDS"));

const double MAX_SECONDS = 86400;

// TEXT as milliseconds, or FALLBACK when it is empty; false when it is not a number of
// seconds from MINIMUM up to a day.
bool milliseconds(const QString &text, int fallback, double minimum, int &result)
{
    if (text.isEmpty()) {
        result = fallback;
        return true;
    }
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < minimum || seconds > MAX_SECONDS)
        return false;
    result = int(std::lround(seconds * 1000));
    return true;
}

// The --interval of PARSER, -1 when absent; false when it is not milliseconds >= 0.
bool listenerInterval(const QCommandLineParser &parser, int &result)
{
    result = -1;
    if (!parser.isSet(intervalOption))
        return true;
    bool ok = false;
    result = parser.value(intervalOption).toInt(&ok);
    return ok && result >= 0;
}

QString intervalError(const QCommandLineParser &parser)
{
    return QStringLiteral("--interval takes milliseconds >= 0, not ")
        + parser.value(intervalOption);
}

} // namespace

int FeedCommands::feed(const CommandContext &context, const QList<ReplayFile::Step> &steps,
                       int intervalMs, const QString &progressPath)
{
    PipelineRunner runner(steps, intervalMs, progressPath);
    return printInUse(context, runner.run());
}

int FeedCommands::printInUse(const CommandContext &context, int status)
{
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

bool FeedCommands::collect(zelscan::HomeScanner &scanner, QList<ReplayFile::Step> &steps)
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
    int intervalMs = -1;
    if (!listenerInterval(parser, intervalMs))
        return context.fail(CommandContext::UsageError, intervalError(parser));
    ReplayFile file;
    if (!file.read(parser.positionalArguments().first())) {
        // The reason may quote a key of the file, which a scanner wrote.
        std::fprintf(stderr, "%s\n", qPrintable(TerminalText::escaped(file.error())));
        return CommandContext::UsageError;
    }
    return feed(context, file.steps(), intervalMs, parser.value(progressFile));
}

int FeedCommands::scan(const CommandContext &context)
{
    QCommandLineParser parser;
    parser.addOption(intervalOption);
    const QCommandLineOption procNet(
        QStringLiteral("proc-net"),
        QStringLiteral("Read \"route\" and \"arp\" from DIR instead of /proc/net "
                       "(default: $ZELMAP_PROC_NET, else /proc/net)."),
        QStringLiteral("DIR"));
    parser.addOption(procNet);
    if (const std::optional<int> done = context.parse(parser, 0, 0))
        return *done;
    int intervalMs = -1;
    if (!listenerInterval(parser, intervalMs))
        return context.fail(CommandContext::UsageError, intervalError(parser));
    QString dir = parser.value(procNet);
    if (dir.isEmpty())
        dir = qEnvironmentVariable("ZELMAP_PROC_NET", QStringLiteral("/proc/net"));
    zelscan::HomeScanner scanner;
    scanner.setProcNetDirectory(dir);
    QList<ReplayFile::Step> steps;
    if (!collect(scanner, steps))
        return context.fail(CommandContext::Failure, scanner.error());
    return feed(context, steps, intervalMs);
}

int FeedCommands::discover(const CommandContext &context)
{
    QCommandLineParser parser;
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Print the records, one JSON object a line as "
                                                 "replay reads them, instead of feeding them."));
    parser.addOptions({ interfaceOption, waitOption, json, intervalOption });
    if (const std::optional<int> done = context.parse(parser, 0, 0))
        return *done;
    int waitMs = 0;
    if (!milliseconds(parser.value(waitOption), 2000, 0, waitMs))
        return context.fail(CommandContext::UsageError,
                            QStringLiteral("--wait takes seconds from 0 to 86400, not ")
                                + parser.value(waitOption));
    int intervalMs = -1;
    if (!listenerInterval(parser, intervalMs))
        return context.fail(CommandContext::UsageError, intervalError(parser));
    // A store that cannot be written stops the command before it sends anything.
    if (!parser.isSet(json)) {
        if (const int status = context.openStore())
            return status;
    }
    zelscan::HomeScanner scanner;
    scanner.setSearching(true);
    scanner.setListenWindow(waitMs);
    scanner.setInterfaceName(parser.value(interfaceOption));
    QList<ReplayFile::Step> steps;
    if (!collect(scanner, steps))
        return context.fail(CommandContext::Failure, scanner.error());
    if (!parser.isSet(json))
        return feed(context, steps, intervalMs);
    QByteArray lines;
    for (const ReplayFile::Step &step : qAsConst(steps)) {
        QJsonObject object;
        for (auto field = step.record.cbegin(); field != step.record.cend(); ++field)
            object.insert(field.key(), field.value());
        lines += QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    }
    return context.write(lines);
}

int FeedCommands::watch(const CommandContext &context)
{
    QCommandLineParser parser;
    const QCommandLineOption every(QStringLiteral("every"),
                                   QStringLiteral("Seconds from the start of one round to the "
                                                  "next (default: 10)."),
                                   QStringLiteral("SECONDS"));
    const QCommandLineOption rounds(QStringLiteral("rounds"),
                                    QStringLiteral("Stop after N rounds (default: only on "
                                                   "SIGINT or SIGTERM)."),
                                    QStringLiteral("N"));
    parser.addOptions({ every, waitOption, rounds, interfaceOption, intervalOption });
    if (const std::optional<int> done = context.parse(parser, 0, 0))
        return *done;
    WatchRunner::Settings settings;
    settings.interfaceName = parser.value(interfaceOption);
    if (!milliseconds(parser.value(waitOption), 2000, 0, settings.waitMs))
        return context.fail(CommandContext::UsageError,
                            QStringLiteral("--wait takes seconds from 0 to 86400, not ")
                                + parser.value(waitOption));
    if (!milliseconds(parser.value(every), 10000, 0.1, settings.everyMs))
        return context.fail(CommandContext::UsageError,
                            QStringLiteral("--every takes seconds from 0.1 to 86400, not ")
                                + parser.value(every));
    if (parser.isSet(rounds)) {
        bool ok = false;
        settings.rounds = parser.value(rounds).toInt(&ok);
        if (!ok || settings.rounds < 1)
            return context.fail(CommandContext::UsageError,
                                QStringLiteral("--rounds takes a number >= 1, not ")
                                    + parser.value(rounds));
    }
    if (!listenerInterval(parser, settings.intervalMs))
        return context.fail(CommandContext::UsageError, intervalError(parser));
    WatchRunner runner(context, settings);
    const int status = runner.run();
    // A watch that could not look has no map to show.
    if (status != CommandContext::Success)
        return status;
    return printInUse(context, status);
}
