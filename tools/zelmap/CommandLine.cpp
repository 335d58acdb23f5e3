#include "CommandLine.h"

#include "CommandContext.h"
#include "FeedCommands.h"
#include "LogOutput.h"
#include "ReadCommands.h"
#include "StoreCommands.h"
#include "StoreSetup.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

const QCommandLineOption dataDirOption(QStringLiteral("data-dir"),
                                       QStringLiteral("keep the database in DIR/ZelDb.db "
                                                      "(created when missing)"),
                                       QStringLiteral("DIR"));
const QCommandLineOption verboseOption(QStringList { QStringLiteral("v"),
                                                     QStringLiteral("verbose") },
                                       QStringLiteral("also the library's information lines, "
                                                      "on stderr"));
const QCommandLineOption helpOption(QStringList { QStringLiteral("h"), QStringLiteral("help") },
                                    QStringLiteral("this help; COMMAND --help describes one "
                                                   "command"));
const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("the version"));

} // namespace

const QList<CommandLine::Command> &CommandLine::commands()
{
    static const QList<Command> table {
        { QStringLiteral("replay"), QStringLiteral("FILE [--interval MS] [--progress-file PATH]"),
          QStringLiteral("feed a recorded scan through the discovery pipeline; FILE \"-\" is "
                         "stdin"),
          StoreUse::Feed, &FeedCommands::replay },
        { QStringLiteral("scan"), QStringLiteral("[--interval MS] [--proc-net DIR]"),
          QStringLiteral("this host's own view of its network, passively"), StoreUse::Feed,
          &FeedCommands::scan },
        { QStringLiteral("import"),
          QStringLiteral("nmap FILE [--gateway IP] [--proc-net DIR] [--interval MS]"),
          QStringLiteral("feed the hosts of an nmap host discovery (nmap -sn -oX FILE)"),
          StoreUse::Feed, &FeedCommands::importFile },
        { QStringLiteral("discover"),
          QStringLiteral("[--interface IF] [--wait SECONDS] [--json] [--interval MS]"),
          QStringLiteral("search the network (UPnP, host names) and feed what answers; sends "
                         "traffic"),
          StoreUse::FeedWhenAsked, &FeedCommands::discover },
        { QStringLiteral("watch"),
          QStringLiteral("[--every SECONDS] [--wait SECONDS] [--rounds N] [--interface IF] "
                         "[--interval MS]"),
          QStringLiteral("discover again and again, telling the map in use which devices "
                         "answered; sends traffic"),
          StoreUse::Feed, &FeedCommands::watch },
        { QStringLiteral("maps"), QStringLiteral("[--json]"),
          QStringLiteral("the stored maps: id, serial, name, device count, which is in use"),
          StoreUse::Read, &ReadCommands::maps },
        { QStringLiteral("show"), QStringLiteral("[MAP-ID] [--json] [--show-secrets]"),
          QStringLiteral("the devices of a map (default: the map in use)"), StoreUse::Read,
          &ReadCommands::show },
        { QStringLiteral("device"), QStringLiteral("ID [--json] [--show-secrets]"),
          QStringLiteral("one device with all its details"), StoreUse::Read,
          &ReadCommands::device },
        { QStringLiteral("history"), QStringLiteral("DEVICE [--json]"),
          QStringLiteral("when the device was connected, session by session"), StoreUse::Read,
          &ReadCommands::history },
        { QStringLiteral("export"), QStringLiteral("[MAP-ID] --format svg|png|dot|json [-o FILE]"),
          QStringLiteral("draw a map, to stdout or replacing FILE whole"), StoreUse::Read,
          &ReadCommands::exportMap },
        { QStringLiteral("merge"), QStringLiteral("KEEP GONE"),
          QStringLiteral("make device GONE part of device KEEP; GONE's MAC address then "
                         "stands for KEEP"),
          StoreUse::Feed, &StoreCommands::merge },
        { QStringLiteral("maintenance"), QStringLiteral("[--vacuum]"),
          QStringLiteral("remove the rows nothing reaches any more; --vacuum also compacts the "
                         "file"),
          StoreUse::Configure, &StoreCommands::maintenance },
        { QStringLiteral("config"), QStringLiteral("list|get KEY|set KEY VALUE"),
          QStringLiteral("the configuration store; a value set stays: zelconfig.xml only adds "
                         "the keys not stored yet"),
          StoreUse::Configure, &StoreCommands::config },
        { QStringLiteral("warranty"), QStringLiteral("list [--json]"),
          QStringLiteral("users and products still to register"), StoreUse::Configure,
          &StoreCommands::warranty },
    };
    return table;
}

QString CommandLine::usage()
{
    QString text = QStringLiteral("Usage: zelmap [--data-dir DIR] [-v] COMMAND ...\n\nCommands:\n");
    for (const Command &command : commands())
        text += QStringLiteral("  %1 %2\n      %3\n")
                    .arg(command.name, command.synopsis, command.summary);
    text += QStringLiteral("\nOptions:\n");
    for (const QCommandLineOption &option :
         { dataDirOption, verboseOption, helpOption, versionOption }) {
        QStringList names;
        for (const QString &name : option.names())
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        QString shown = names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            shown += QLatin1Char(' ') + option.valueName();
        text += QStringLiteral("  %1  %2\n").arg(shown, -14).arg(option.description());
    }
    return text;
}

int CommandLine::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addOptions({ dataDirOption, verboseOption, helpOption, versionOption });
    const CommandContext tool({}, {}, {}, {});
    if (!parser.parse(arguments))
        return tool.fail(CommandContext::UsageError,
                         parser.errorText() + QLatin1Char('\n') + usage());
    LogOutput::install(parser.isSet(verboseOption));
    if (parser.isSet(helpOption))
        return tool.print(usage());
    if (parser.isSet(versionOption))
        return tool.print(
            QStringLiteral("zelmap %1\n").arg(QCoreApplication::applicationVersion()));
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return tool.fail(CommandContext::UsageError,
                         QStringLiteral("no command given\n") + usage());
    const QString name = positional.takeFirst();
    for (const Command &command : commands()) {
        if (command.name != name)
            continue;
        CommandContext context(command.name, command.synopsis, command.summary, positional);
        const QString dataDir = parser.value(dataDirOption);
        int status = CommandContext::Success;
        if (command.store == StoreUse::FeedWhenAsked)
            context.setStoreOpener(
                [dataDir, &context] { return setUpStore(dataDir, StoreUse::Feed, context); });
        else
            status = setUpStore(dataDir, command.store, context);
        if (status == CommandContext::Success)
            status = command.handler(context);
        // What the handler wrote straight to standard output is checked here.
        QString error;
        if (status == CommandContext::Success && !CommandContext::flushStandardOutput(error))
            return context.fail(CommandContext::Failure,
                                QStringLiteral("cannot write standard output: ") + error);
        return status;
    }
    return tool.fail(CommandContext::UsageError,
                     QStringLiteral("unknown command \"%1\"\n").arg(name) + usage());
}

int CommandLine::setUpStore(const QString &dataDir, StoreUse use, const CommandContext &context)
{
    // Reading commands never write, so they never stop a writer.
    const StoreSetup::Use setupUse = use == StoreUse::Read ? StoreSetup::Use::Read
        : use == StoreUse::Configure                       ? StoreSetup::Use::Configure
                                                           : StoreSetup::Use::Feed;
    QString error;
    if (!StoreSetup::open(dataDir, setupUse, error))
        return context.fail(CommandContext::Failure, error);
    return CommandContext::Success;
}
