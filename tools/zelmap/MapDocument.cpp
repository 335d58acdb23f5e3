#include "MapDocument.h"

#include <zelmw/facades/NetworkDeviceFacade.h>
#include <zelmw/networkmap/LanConnection.h>
#include <zelmw/networkmap/NetworkMapFactory.h>

#include <QJsonArray>

const QString MapDocument::MASK = QStringLiteral("********");

bool MapDocument::isSecret(const QString &detailName)
{
    return detailName.contains(QLatin1String("PASSWORD"))
        || detailName.contains(QLatin1String("PIN"))
        || detailName.contains(QLatin1String("KEYMATERIAL"));
}

QMap<QString, QString>
MapDocument::details(const boost::shared_ptr<zelmw::NetworkMapObject> &device, bool showSecrets)
{
    QMap<QString, QString> values = device->getDetailNameValueMap();
    if (!showSecrets) {
        for (auto it = values.begin(); it != values.end(); ++it) {
            if (isSecret(it.key()))
                it.value() = MASK;
        }
    }
    return values;
}

QJsonObject MapDocument::map(const zelmw::NetworkMapSharedPtr &map, bool inUse)
{
    return QJsonObject { { QStringLiteral("id"), map->getId() },
                         { QStringLiteral("serial"), map->getSerial() },
                         { QStringLiteral("name"), map->getName() },
                         { QStringLiteral("devices"), map->count() },
                         { QStringLiteral("masterDeviceId"), map->getMasterDeviceId() },
                         { QStringLiteral("localPcId"), map->getLocalZelPcId() },
                         { QStringLiteral("nicGuid"), map->getNicGuid() },
                         { QStringLiteral("inUse"), inUse } };
}

QJsonObject MapDocument::device(const boost::shared_ptr<zelmw::NetworkMapObject> &device,
                                bool showSecrets)
{
    QJsonObject detailObject;
    const QMap<QString, QString> values = details(device, showSecrets);
    for (auto it = values.begin(); it != values.end(); ++it)
        detailObject.insert(it.key(), it.value());
    QJsonObject object { { QStringLiteral("id"), device->getId() },
                         { QStringLiteral("type"), device->getTypeName() },
                         { QStringLiteral("name"), device->getName() },
                         { QStringLiteral("mac"), device->getMacAddress() },
                         { QStringLiteral("ip"), device->getIpAddress() },
                         { QStringLiteral("connected"), device->getIsConnected() },
                         { QStringLiteral("wireless"),
                           device->getConnectionType() == zelmw::LAN_TYPE_WIRELESS },
                         { QStringLiteral("details"), detailObject } };
    // Only where it holds: a device may come back under another address.
    if (zelmw::NetworkDeviceFacade(device).isRandomizedMac())
        object.insert(QStringLiteral("randomMac"), true);
    // The addresses of the devices merged into it, when there are any.
    const zelmw::NetworkMapSharedPtr map
        = zelmw::NetworkMapFactory::getInstance()->getNetworkMap(device->getNetworkMapId());
    const QStringList aliases = map ? map->getMacAliases(device->getId()) : QStringList();
    if (!aliases.isEmpty())
        object.insert(QStringLiteral("aliases"), QJsonArray::fromStringList(aliases));
    return object;
}

QJsonObject MapDocument::show(const zelmw::NetworkMapSharedPtr &map, bool inUse, bool showSecrets)
{
    QJsonArray devices;
    const QList<boost::shared_ptr<zelmw::NetworkMapObject>> list = map->getNwMapObjectList();
    for (const auto &item : list)
        devices.append(device(item, showSecrets));
    return QJsonObject { { QStringLiteral("map"), MapDocument::map(map, inUse) },
                         { QStringLiteral("devices"), devices } };
}
