#include "ReadCommands.h"

#include "CommandContext.h"
#include "MapDocument.h"
#include "MapRenderer.h"
#include "TablePrinter.h"
#include "TerminalText.h"

#include <zelmw/facades/NetworkDeviceFacade.h>
#include <zelmw/networkmap/LanConnection.h>
#include <zelmw/networkmap/NetworkMapFactory.h>

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>

namespace {

const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Print JSON."));
const QCommandLineOption secretsOption(QStringLiteral("show-secrets"),
                                       QStringLiteral("Show passwords, PINs and keys."));

QString yesNo(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

// A time as this host's local time with its UTC offset; empty for none.
QString localTime(const QDateTime &time)
{
    if (!time.isValid())
        return QString();
    const QDateTime local = time.toLocalTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

void addMapArgument(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("MAP-ID"),
                                 QStringLiteral("The map (default: the map in use)."),
                                 QStringLiteral("[MAP-ID]"));
}

} // namespace

QString ReadCommands::deviceTable(const zelmw::NetworkMapSharedPtr &map)
{
    TablePrinter table({ QStringLiteral("ID"), QStringLiteral("TYPE"), QStringLiteral("NAME"),
                         QStringLiteral("MAC"), QStringLiteral("IP"), QStringLiteral("CONNECTED"),
                         QStringLiteral("WIRELESS"), QStringLiteral("ROLE"),
                         QStringLiteral("LAST SEEN") });
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
                       yesNo(device->getConnectionType() == zelmw::LAN_TYPE_WIRELESS), role,
                       device->getIsConnected()
                           ? QString()
                           : localTime(zelmw::NetworkDeviceFacade(device).getLastSeen()) });
    }
    return table.text();
}

int ReadCommands::maps(const CommandContext &context)
{
    QCommandLineParser parser;
    parser.addOption(jsonOption);
    if (const std::optional<int> done = context.parse(parser, 0, 0))
        return *done;
    QList<int> ids;
    if (!zelmw::NetworkMapFactory::getInstance()->getNetworkMapIds(ids))
        return context.fail(CommandContext::Failure, QStringLiteral("cannot read the stored maps"));
    const int inUse = CommandContext::inUseMapId();
    QJsonArray array;
    TablePrinter table({ QStringLiteral("ID"), QStringLiteral("SERIAL"), QStringLiteral("NAME"),
                         QStringLiteral("DEVICES"), QStringLiteral("IN USE") });
    for (int id : qAsConst(ids)) {
        const zelmw::NetworkMapSharedPtr map
            = zelmw::NetworkMapFactory::getInstance()->getNetworkMap(id);
        if (!map)
            continue; // deleted since the ids were read
        array.append(MapDocument::map(map, id == inUse));
        table.addRow({ QString::number(id), map->getSerial(), map->getName(),
                       QString::number(map->count()), yesNo(id == inUse) });
    }
    return parser.isSet(jsonOption) ? context.printJson(QJsonDocument(array))
                                    : context.print(table.text());
}

int ReadCommands::show(const CommandContext &context)
{
    QCommandLineParser parser;
    parser.addOptions({ jsonOption, secretsOption });
    addMapArgument(parser);
    if (const std::optional<int> done = context.parse(parser, 0, 1))
        return *done;
    zelmw::NetworkMapSharedPtr map;
    if (const int status = context.mapArgument(parser.positionalArguments(), 0, map))
        return status;
    const bool inUse = map->getId() == CommandContext::inUseMapId();
    if (parser.isSet(jsonOption))
        return context.printJson(
            QJsonDocument(MapDocument::show(map, inUse, parser.isSet(secretsOption))));
    return context.print(QStringLiteral("map %1 \"%2\" %3%4\n")
                             .arg(map->getId())
                             .arg(TerminalText::escaped(map->getName()),
                                  TerminalText::escaped(map->getSerial()),
                                  inUse ? QStringLiteral(" (in use)") : QString())
                         + deviceTable(map));
}

int ReadCommands::device(const CommandContext &context)
{
    QCommandLineParser parser;
    parser.addOptions({ jsonOption, secretsOption });
    parser.addPositionalArgument(QStringLiteral("ID"), QStringLiteral("The device id."));
    if (const std::optional<int> done = context.parse(parser, 1, 1))
        return *done;
    boost::shared_ptr<zelmw::NetworkMapObject> device;
    if (const int status = context.deviceArgument(parser.positionalArguments().first(), device))
        return status;
    const bool secrets = parser.isSet(secretsOption);
    if (parser.isSet(jsonOption)) {
        QJsonObject object = MapDocument::device(device, secrets);
        object.insert(QStringLiteral("mapId"), device->getNetworkMapId());
        return context.printJson(QJsonDocument(object));
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
    return context.print(table.text());
}

int ReadCommands::history(const CommandContext &context)
{
    QCommandLineParser parser;
    parser.addOption(jsonOption);
    parser.addPositionalArgument(QStringLiteral("DEVICE"), QStringLiteral("The device id."));
    if (const std::optional<int> done = context.parse(parser, 1, 1))
        return *done;
    boost::shared_ptr<zelmw::NetworkMapObject> device;
    if (const int status = context.deviceArgument(parser.positionalArguments().first(), device))
        return status;
    const zelmw::NetworkDeviceFacade facade(device);
    const QList<zelmw::PresenceSession> sessions = facade.getPresenceHistory();
    // An open session lasts until now.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const auto seconds = [&now](const zelmw::PresenceSession &session) {
        return session.from.secsTo(session.to.isValid() ? session.to : now);
    };
    if (parser.isSet(jsonOption)) {
        QJsonArray array;
        for (const zelmw::PresenceSession &session : sessions) {
            array.append(QJsonObject {
                { QStringLiteral("from"), localTime(session.from) },
                { QStringLiteral("to"),
                  session.to.isValid() ? QJsonValue(localTime(session.to)) : QJsonValue() },
                { QStringLiteral("seconds"), seconds(session) } });
        }
        const QDateTime lastSeen = facade.getLastSeen();
        return context.printJson(QJsonDocument(
            QJsonObject { { QStringLiteral("id"), device->getId() },
                          { QStringLiteral("mac"), device->getMacAddress() },
                          { QStringLiteral("lastSeen"),
                            lastSeen.isValid() ? QJsonValue(localTime(lastSeen)) : QJsonValue() },
                          { QStringLiteral("sessions"), array } }));
    }
    TablePrinter table({ QStringLiteral("FROM"), QStringLiteral("TO"), QStringLiteral("SECONDS") });
    for (const zelmw::PresenceSession &session : sessions) {
        table.addRow({ localTime(session.from),
                       session.to.isValid() ? localTime(session.to) : QStringLiteral("(connected)"),
                       QString::number(seconds(session)) });
    }
    return context.print(table.text());
}

int ReadCommands::exportMap(const CommandContext &context)
{
    QCommandLineParser parser;
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("svg, png, dot or json."),
                                    QStringLiteral("FORMAT"));
    const QCommandLineOption output(QStringList { QStringLiteral("o"), QStringLiteral("output") },
                                    QStringLiteral("Replace FILE whole (default: stdout)."),
                                    QStringLiteral("FILE"));
    parser.addOptions({ format, output });
    addMapArgument(parser);
    if (const std::optional<int> done = context.parse(parser, 0, 1))
        return *done;
    const QString kind = parser.value(format);
    const QStringList kinds { QStringLiteral("svg"), QStringLiteral("png"), QStringLiteral("dot"),
                              QStringLiteral("json") };
    if (!kinds.contains(kind))
        return context.fail(CommandContext::UsageError,
                            QStringLiteral("--format must be svg, png, dot or json"));
    zelmw::NetworkMapSharedPtr map;
    if (const int status = context.mapArgument(parser.positionalArguments(), 0, map))
        return status;
    QByteArray bytes;
    if (kind == QLatin1String("json")) {
        const bool inUse = map->getId() == CommandContext::inUseMapId();
        bytes = QJsonDocument(MapDocument::show(map, inUse, false)).toJson();
    } else {
        MapRenderer renderer(map);
        if (!renderer.render(kind, bytes))
            return context.fail(CommandContext::Failure,
                                QStringLiteral("cannot draw the map: ") + renderer.error());
    }
    return context.write(bytes, parser.value(output));
}
