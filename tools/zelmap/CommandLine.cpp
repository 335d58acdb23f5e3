#include "CommandLine.h"

#include "HostScanner.h"
#include "MapDocument.h"
#include "MapRenderer.h"
#include "PipelineRunner.h"
#include "StoreReader.h"
#include "TablePrinter.h"
#include "TerminalText.h"

#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/persistence/DbConfigXmlReader.h>
#include <zelmw/persistence/ZelDbConnection.h>
#include <zelmw/vocabulary/ZelConstants.h>
#include <zelmw/warranty/WarrantyDevice.h>
#include <zelmw/warranty/WarrantyManager.h>
#include <zelmw/warranty/WarrantyUser.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

namespace {

const char USAGE[] = "Usage: zelmap [--data-dir DIR] COMMAND ...\n"
                     "\n"
                     "Commands:\n"
                     "  replay FILE [--interval MS] [--progress-file PATH]  feed a recorded scan "
                     "through the discovery pipeline; FILE \"-\" is stdin\n"
                     "  scan [--interval MS] [--proc-net DIR]  this host's own view of its "
                     "network, passively\n"
                     "  maps [--json]                        the stored maps\n"
                     "  show [MAP-ID] [--json] [--show-secrets]  the devices of a map (default: "
                     "the map in use)\n"
                     "  device ID [--json] [--show-secrets]  one device with all its details\n"
                     "  export [MAP-ID] --format svg|png|dot|json [-o FILE]  draw a map\n"
                     "  config list|get KEY|set KEY VALUE    the configuration store\n"
                     "  warranty list [--json]               users and products still to "
                     "register\n"
                     "\n"
                     "Options:\n"
                     "  --data-dir DIR   keep the database in DIR/ZelDb.db (created when "
                     "missing)\n"
                     "  -h, --help       this help; COMMAND --help describes one command\n"
                     "  -v, --version    the version\n";

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

void printJson(const QJsonDocument &document)
{
    out() << document.toJson(QJsonDocument::Indented);
    out().flush();
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Print JSON."));
const QCommandLineOption secretsOption(QStringLiteral("show-secrets"),
                                       QStringLiteral("Show passwords, PINs and keys."));
const QCommandLineOption intervalOption(QStringLiteral("interval"),
                                        QStringLiteral("Milliseconds between two records "
                                                       "(default: the library's 500)."),
                                        QStringLiteral("MS"));

// Seeds the configuration store from the file the package installs, or the build tree's,
// so the tool works from any directory. Existing values stay unless the file overwrites.
void seedConfiguration()
{
    const QStringList candidates { QDir(QCoreApplication::applicationDirPath())
                                       .filePath(QStringLiteral(ZELMAP_CONFIG_RELATIVE)),
                                   QStringLiteral(ZELMAP_SOURCE_CONFIG) };
    for (const QString &path : candidates) {
        if (!QFileInfo::exists(path))
            continue;
        zelmw::DbConfigXmlReader reader(path);
        QList<zelmw::ConfigXmlProperty> properties;
        if (!reader.parseConfigProperties(properties)) {
            std::fprintf(stderr, "zelmap: %s: %s\n", qPrintable(path),
                         qPrintable(reader.getLastError()));
            return;
        }
        const boost::shared_ptr<zelmw::ConfigDataFactory> factory
            = zelmw::ConfigDataFactory::getInstance();
        for (const zelmw::ConfigXmlProperty &property : qAsConst(properties)) {
            if (property.overwrite || !factory->isKeyExists(property.key))
                factory->saveConfigData(property.key, property.val);
        }
        return;
    }
}

} // namespace

int CommandLine::fail(Status status, const QString &message) const
{
    std::fprintf(stderr, "zelmap%s%s: %s\n", m_command.isEmpty() ? "" : " ", qPrintable(m_command),
                 qPrintable(message));
    return status;
}

int CommandLine::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Database directory."), QStringLiteral("DIR"));
    const QCommandLineOption help(QStringList { QStringLiteral("h"), QStringLiteral("help") },
                                  QStringLiteral("Help."));
    const QCommandLineOption version(QStringList { QStringLiteral("v"), QStringLiteral("version") },
                                     QStringLiteral("Version."));
    parser.addOptions({ dataDir, help, version });
    if (!parser.parse(arguments))
        return fail(UsageError, parser.errorText() + QStringLiteral("\n") + QLatin1String(USAGE));
    if (parser.isSet(help)) {
        out() << USAGE;
        return Success;
    }
    if (parser.isSet(version)) {
        out() << "zelmap " << QCoreApplication::applicationVersion() << '\n';
        return Success;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return fail(UsageError, QStringLiteral("no command given\n") + QLatin1String(USAGE));
    m_command = positional.first();
    m_commandArguments = positional;
    m_commandArguments.first() = QStringLiteral("zelmap ") + m_command;

    using Handler = int (CommandLine::*)();
    const QMap<QString, QPair<Handler, StoreUse>> commands {
        { QStringLiteral("replay"), { &CommandLine::replay, StoreUse::Feed } },
        { QStringLiteral("scan"), { &CommandLine::scan, StoreUse::Feed } },
        { QStringLiteral("maps"), { &CommandLine::maps, StoreUse::Read } },
        { QStringLiteral("show"), { &CommandLine::show, StoreUse::Read } },
        { QStringLiteral("device"), { &CommandLine::device, StoreUse::Read } },
        { QStringLiteral("export"), { &CommandLine::exportMap, StoreUse::Read } },
        { QStringLiteral("config"), { &CommandLine::config, StoreUse::Configure } },
        { QStringLiteral("warranty"), { &CommandLine::warranty, StoreUse::Configure } }
    };
    const Handler handler = commands.value(m_command).first;
    if (!handler) {
        const QString unknown = m_command;
        m_command.clear();
        return fail(UsageError,
                    QStringLiteral("unknown command \"%1\"\n").arg(unknown) + QLatin1String(USAGE));
    }
    if (!setUpStore(parser.value(dataDir), commands.value(m_command).second))
        return Failure;
    return (this->*handler)();
}

bool CommandLine::setUpStore(const QString &dataDir, StoreUse use)
{
    if (!dataDir.isEmpty()) {
        if (!QDir().mkpath(dataDir)) {
            fail(Failure, QStringLiteral("cannot create the data directory ") + dataDir);
            return false;
        }
        if (!zelmw::ZelDbConnection::setDataDirectory(QDir(dataDir).absolutePath())) {
            fail(Failure, QStringLiteral("the data directory cannot be changed any more"));
            return false;
        }
    }
    zelmw::ZelDbConnection connection;
    if (!connection.open()) {
        fail(Failure, QStringLiteral("cannot open the database ") + connection.getDbPath());
        return false;
    }
    // Only one process writes a store at a time: a feed that could not store its records
    // stops before the first, and reading commands never write, so they never stop a writer.
    if (use == StoreUse::Feed && !connection.claimWriter()) {
        fail(Failure, connection.getLastSqlError().databaseText());
        return false;
    }
    if (use != StoreUse::Read)
        seedConfiguration();
    return true;
}

bool CommandLine::parse(QCommandLineParser &parser, const QString &synopsis, int minArgs,
                        int maxArgs)
{
    parser.setApplicationDescription(QStringLiteral("zelmap ") + m_command + QLatin1Char(' ')
                                     + synopsis);
    const QCommandLineOption help(QStringList { QStringLiteral("h"), QStringLiteral("help") },
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    if (!parser.parse(m_commandArguments)) {
        m_status = fail(UsageError, parser.errorText());
        return false;
    }
    if (parser.isSet(help)) {
        // Qt names the program by its path; name the command instead.
        out() << parser.helpText().replace(QCoreApplication::arguments().first(),
                                           QStringLiteral("zelmap ") + m_command);
        m_status = Success;
        return false;
    }
    const int count = parser.positionalArguments().size();
    if (count < minArgs || count > maxArgs) {
        m_status = fail(UsageError, QStringLiteral("expected: ") + synopsis);
        return false;
    }
    return true;
}

int CommandLine::inUseMapId() const
{
    const zelmw::NetworkMapSharedPtr map
        = zelmw::InUseMapController::getInstance()->getInUseNetworkMap();
    return map ? map->getId() : 0;
}

zelmw::NetworkMapSharedPtr CommandLine::mapArgument(const QStringList &positional, int index)
{
    if (positional.size() <= index) {
        const zelmw::NetworkMapSharedPtr map
            = zelmw::InUseMapController::getInstance()->getInUseNetworkMap();
        if (!map)
            m_status = fail(Failure, QStringLiteral("no map is in use"));
        return map;
    }
    bool ok = false;
    const int id = positional.at(index).toInt(&ok);
    if (!ok || id <= 0) {
        m_status = fail(UsageError, QStringLiteral("not a map id: ") + positional.at(index));
        return zelmw::NetworkMapSharedPtr();
    }
    const zelmw::NetworkMapSharedPtr map
        = zelmw::NetworkMapFactory::getInstance()->getNetworkMap(id);
    if (!map)
        m_status = fail(Failure, QStringLiteral("no map %1").arg(id));
    return map;
}

int CommandLine::feed(const QList<ReplayFile::Step> &steps, const QString &interval,
                      const QString &progressPath)
{
    int intervalMs = -1;
    if (!interval.isEmpty()) {
        bool ok = false;
        intervalMs = interval.toInt(&ok);
        if (!ok || intervalMs < 0)
            return fail(UsageError,
                        QStringLiteral("--interval takes milliseconds >= 0, not ") + interval);
    }
    PipelineRunner runner(steps, intervalMs, progressPath);
    const int status = runner.run();
    const zelmw::NetworkMapSharedPtr map
        = zelmw::InUseMapController::getInstance()->getInUseNetworkMap();
    if (!map)
        return fail(Failure, QStringLiteral("no map is in use: the records named no gateway"));
    out() << "\nmap " << map->getId() << " \"" << TerminalText::escaped(map->getName())
          << "\", in use:\n";
    printShowTable(map);
    return status;
}

int CommandLine::replay()
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
    if (!parse(parser, QStringLiteral("FILE [--interval MS] [--progress-file PATH]"), 1, 1))
        return m_status;
    ReplayFile file;
    if (!file.read(parser.positionalArguments().first())) {
        std::fprintf(stderr, "%s\n", qPrintable(file.error()));
        return UsageError;
    }
    return feed(file.steps(), parser.value(intervalOption), parser.value(progressFile));
}

int CommandLine::scan()
{
    QCommandLineParser parser;
    parser.addOption(intervalOption);
    const QCommandLineOption procNet(
        QStringLiteral("proc-net"),
        QStringLiteral("Read \"route\" and \"arp\" from DIR instead of /proc/net "
                       "(default: $ZELMAP_PROC_NET, else /proc/net)."),
        QStringLiteral("DIR"));
    parser.addOption(procNet);
    if (!parse(parser, QStringLiteral("[--interval MS] [--proc-net DIR]"), 0, 0))
        return m_status;
    QString dir = parser.value(procNet);
    if (dir.isEmpty())
        dir = qEnvironmentVariable("ZELMAP_PROC_NET", QStringLiteral("/proc/net"));
    HostScanner scanner(dir);
    if (!scanner.scan())
        return fail(Failure, scanner.error());
    QList<ReplayFile::Step> steps;
    const QList<QMap<QString, QString>> records = scanner.records();
    for (const QMap<QString, QString> &record : records) {
        ReplayFile::Step step;
        step.record = record;
        steps.append(step);
    }
    return feed(steps, parser.value(intervalOption));
}

int CommandLine::maps()
{
    QCommandLineParser parser;
    parser.addOption(jsonOption);
    if (!parse(parser, QStringLiteral("[--json]"), 0, 0))
        return m_status;
    QList<int> ids;
    StoreReader store;
    if (!store.mapIds(ids))
        return fail(Failure, QStringLiteral("cannot read the stored maps"));
    const int inUse = inUseMapId();
    QJsonArray array;
    TablePrinter table({ QStringLiteral("ID"), QStringLiteral("SERIAL"), QStringLiteral("NAME"),
                         QStringLiteral("DEVICES"), QStringLiteral("IN USE") });
    for (int id : qAsConst(ids)) {
        const zelmw::NetworkMapSharedPtr map
            = zelmw::NetworkMapFactory::getInstance()->getNetworkMap(id);
        if (!map)
            continue;
        array.append(QJsonObject { { QStringLiteral("id"), id },
                                   { QStringLiteral("serial"), map->getSerial() },
                                   { QStringLiteral("name"), map->getName() },
                                   { QStringLiteral("devices"), map->count() },
                                   { QStringLiteral("inUse"), id == inUse } });
        table.addRow({ QString::number(id), map->getSerial(), map->getName(),
                       QString::number(map->count()), yesNo(id == inUse) });
    }
    if (parser.isSet(jsonOption))
        printJson(QJsonDocument(array));
    else
        table.print(out());
    return Success;
}

void CommandLine::printShowTable(const zelmw::NetworkMapSharedPtr &map) const
{
    TablePrinter table({ QStringLiteral("ID"), QStringLiteral("TYPE"), QStringLiteral("NAME"),
                         QStringLiteral("MAC"), QStringLiteral("IP"), QStringLiteral("CONNECTED"),
                         QStringLiteral("WIRELESS"), QStringLiteral("ROLE") });
    const QList<boost::shared_ptr<zelmw::NetworkMapObject>> devices = map->getNwMapObjectList();
    for (const auto &device : devices) {
        QString role;
        if (device->getId() == map->getMasterDeviceId())
            role = QStringLiteral("master gateway");
        else if (device->getId() == map->getLocalZelPcId())
            role = QStringLiteral("this PC");
        table.addRow({ QString::number(device->getId()), device->getTypeName(), device->getName(),
                       device->getMacAddress(), device->getIpAddress(),
                       yesNo(device->getIsConnected()),
                       yesNo(device->getConnectionType() == zelmw::LAN_TYPE_WIRELESS), role });
    }
    table.print(out());
}

int CommandLine::show()
{
    QCommandLineParser parser;
    parser.addOptions({ jsonOption, secretsOption });
    parser.addPositionalArgument(QStringLiteral("MAP-ID"),
                                 QStringLiteral("The map (default: the map in use)."),
                                 QStringLiteral("[MAP-ID]"));
    if (!parse(parser, QStringLiteral("[MAP-ID] [--json] [--show-secrets]"), 0, 1))
        return m_status;
    const zelmw::NetworkMapSharedPtr map = mapArgument(parser.positionalArguments(), 0);
    if (!map)
        return m_status;
    if (parser.isSet(jsonOption)) {
        printJson(QJsonDocument(
            MapDocument::show(map, map->getId() == inUseMapId(), parser.isSet(secretsOption))));
        return Success;
    }
    out() << "map " << map->getId() << " \"" << TerminalText::escaped(map->getName()) << "\" "
          << TerminalText::escaped(map->getSerial())
          << (map->getId() == inUseMapId() ? " (in use)" : "") << '\n';
    printShowTable(map);
    return Success;
}

int CommandLine::device()
{
    QCommandLineParser parser;
    parser.addOptions({ jsonOption, secretsOption });
    parser.addPositionalArgument(QStringLiteral("ID"), QStringLiteral("The device id."));
    if (!parse(parser, QStringLiteral("ID [--json] [--show-secrets]"), 1, 1))
        return m_status;
    bool ok = false;
    const int id = parser.positionalArguments().first().toInt(&ok);
    if (!ok || id <= 0)
        return fail(UsageError,
                    QStringLiteral("not a device id: ") + parser.positionalArguments().first());
    const boost::shared_ptr<zelmw::NetworkMapObject> device
        = zelmw::NetworkMapObjectFactory::getInstance()->getNetworkMapObject(id);
    if (!device)
        return fail(Failure, QStringLiteral("no device %1").arg(id));
    const bool secrets = parser.isSet(secretsOption);
    if (parser.isSet(jsonOption)) {
        QJsonObject object = MapDocument::device(device, secrets);
        object.insert(QStringLiteral("mapId"), device->getNetworkMapId());
        printJson(QJsonDocument(object));
        return Success;
    }
    TablePrinter table({ QStringLiteral("FIELD"), QStringLiteral("VALUE") });
    table.addRow({ QStringLiteral("id"), QString::number(device->getId()) });
    table.addRow({ QStringLiteral("map"), QString::number(device->getNetworkMapId()) });
    table.addRow({ QStringLiteral("type"), device->getTypeName() });
    table.addRow({ QStringLiteral("name"), device->getName() });
    table.addRow({ QStringLiteral("mac"), device->getMacAddress() });
    table.addRow({ QStringLiteral("ip"), device->getIpAddress() });
    table.addRow({ QStringLiteral("connected"), yesNo(device->getIsConnected()) });
    table.addRow({ QStringLiteral("wireless"),
                   yesNo(device->getConnectionType() == zelmw::LAN_TYPE_WIRELESS) });
    const QMap<QString, QString> details = MapDocument::details(device, secrets);
    for (auto it = details.begin(); it != details.end(); ++it)
        table.addRow({ it.key(), it.value() });
    table.print(out());
    return Success;
}

int CommandLine::exportMap()
{
    QCommandLineParser parser;
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("svg, png, dot or json."),
                                    QStringLiteral("FORMAT"));
    const QCommandLineOption output(QStringList { QStringLiteral("o"), QStringLiteral("output") },
                                    QStringLiteral("Write to FILE (default: stdout)."),
                                    QStringLiteral("FILE"));
    parser.addOptions({ format, output });
    parser.addPositionalArgument(QStringLiteral("MAP-ID"),
                                 QStringLiteral("The map (default: the map in use)."),
                                 QStringLiteral("[MAP-ID]"));
    if (!parse(parser, QStringLiteral("[MAP-ID] --format svg|png|dot|json [-o FILE]"), 0, 1))
        return m_status;
    const QString kind = parser.value(format);
    const QStringList kinds { QStringLiteral("svg"), QStringLiteral("png"), QStringLiteral("dot"),
                              QStringLiteral("json") };
    if (!kinds.contains(kind))
        return fail(UsageError, QStringLiteral("--format must be svg, png, dot or json"));
    const zelmw::NetworkMapSharedPtr map = mapArgument(parser.positionalArguments(), 0);
    if (!map)
        return m_status;
    const QString path = parser.value(output);
    if (kind == QLatin1String("json")) {
        const QByteArray json
            = QJsonDocument(MapDocument::show(map, map->getId() == inUseMapId(), false)).toJson();
        if (path.isEmpty()) {
            out() << json;
            return Success;
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(json) != json.size())
            return fail(Failure,
                        QStringLiteral("cannot write ") + path + QStringLiteral(": ")
                            + file.errorString());
        return Success;
    }
    out().flush();
    MapRenderer renderer(map);
    if (!renderer.render(kind, path))
        return fail(Failure, renderer.error());
    return Success;
}

int CommandLine::config()
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("ACTION"),
                                 QStringLiteral("list, get KEY or set KEY VALUE."));
    if (!parse(parser, QStringLiteral("list|get KEY|set KEY VALUE"), 1, 3))
        return m_status;
    const QStringList args = parser.positionalArguments();
    const QString action = args.first();
    const boost::shared_ptr<zelmw::ConfigDataFactory> factory
        = zelmw::ConfigDataFactory::getInstance();
    if (action == QLatin1String("list") && args.size() == 1) {
        QList<QPair<QString, QString>> entries;
        StoreReader store;
        if (!store.configEntries(entries))
            return fail(Failure, QStringLiteral("cannot read the configuration"));
        TablePrinter table({ QStringLiteral("KEY"), QStringLiteral("VALUE") });
        for (const auto &entry : qAsConst(entries))
            table.addRow({ entry.first, entry.second });
        table.print(out());
        return Success;
    }
    if (action == QLatin1String("get") && args.size() == 2) {
        if (!factory->isKeyExists(args.at(1)))
            return fail(Failure, QStringLiteral("no key ") + args.at(1));
        out() << factory->getConfigValue(args.at(1)) << '\n';
        return Success;
    }
    if (action == QLatin1String("set") && args.size() == 3) {
        if (!factory->saveConfigData(args.at(1), args.at(2)))
            return fail(Failure, QStringLiteral("cannot store ") + args.at(1));
        return Success;
    }
    return fail(UsageError, QStringLiteral("expected: list, get KEY or set KEY VALUE"));
}

int CommandLine::warranty()
{
    QCommandLineParser parser;
    parser.addOption(jsonOption);
    parser.addPositionalArgument(QStringLiteral("list"),
                                 QStringLiteral("List what is still to register."));
    if (!parse(parser, QStringLiteral("list [--json]"), 1, 1))
        return m_status;
    if (parser.positionalArguments().first() != QLatin1String("list"))
        return fail(UsageError, QStringLiteral("expected: list [--json]"));
    zelmw::WarrantyManager manager;
    const QList<boost::shared_ptr<zelmw::WarrantyUser>> users = manager.getUnregisteredUsers();
    const QList<boost::shared_ptr<zelmw::WarrantyDevice>> devices
        = manager.getUnregisteredDevices();
    QJsonArray userArray;
    QJsonArray productArray;
    TablePrinter userTable(
        { QStringLiteral("USER"), QStringLiteral("NAME"), QStringLiteral("MAIL") });
    TablePrinter productTable({ QStringLiteral("PRODUCT"), QStringLiteral("MODEL"),
                                QStringLiteral("FIRMWARE"), QStringLiteral("SERIAL"),
                                QStringLiteral("MAC"), QStringLiteral("USER") });
    for (const auto &user : users) {
        const QString name = user->getName() + QLatin1Char(' ') + user->getSurName();
        userArray.append(QJsonObject { { QStringLiteral("id"), user->getId() },
                                       { QStringLiteral("name"), user->getName() },
                                       { QStringLiteral("surname"), user->getSurName() },
                                       { QStringLiteral("mail"), user->getMail() } });
        userTable.addRow({ QString::number(user->getId()), name, user->getMail() });
    }
    for (const auto &device : devices) {
        productArray.append(
            QJsonObject { { QStringLiteral("id"), device->getId() },
                          { QStringLiteral("model"), device->getProductModelName() },
                          { QStringLiteral("firmware"), device->getProductFwVersion() },
                          { QStringLiteral("serial"), device->getProductSerialNo() },
                          { QStringLiteral("mac"), device->getProductMacAddress() },
                          { QStringLiteral("userId"), device->getWarrantyUserDataId() } });
        productTable.addRow({ QString::number(device->getId()), device->getProductModelName(),
                              device->getProductFwVersion(), device->getProductSerialNo(),
                              device->getProductMacAddress(),
                              QString::number(device->getWarrantyUserDataId()) });
    }
    if (parser.isSet(jsonOption)) {
        printJson(QJsonDocument(QJsonObject { { QStringLiteral("users"), userArray },
                                              { QStringLiteral("products"), productArray } }));
        return Success;
    }
    userTable.print(out());
    out() << '\n';
    productTable.print(out());
    return Success;
}
