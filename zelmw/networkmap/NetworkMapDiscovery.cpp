#include <zelmw/networkmap/NetworkMap_p.h>

#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/networkmap/DiscoveryRecordLimits_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/Utility.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QHash>
#include <zellogger/ZelLogger.h>

// The discovery rules of a map: what a record, or a client list, does to its devices.

namespace zelmw {

using NetworkMapObjectPtr = NetworkMap::NetworkMapObjectPtr;
using Record = QMap<QString, QString>;

namespace {

void log(const QString &message, int level)
{
    ZelLogger::getInstance()->log(message, level, LOGGER_NAME);
}

// What every rule reads from a record; a missing key reads as an empty string.
struct DiscoveredDevice
{
    explicit DiscoveredDevice(const Record &record)
        : mac(record.value(DEVICE_PARAM_LAN_MACADDRESS).toUpper())
        , ip(record.value(DEVICE_PARAM_LAN_IPADDRESS))
        , name(record.value(UPNP_PARAM_FRIENDLYNAME))
    {
        if (name.isEmpty())
            name = record.value(DEVICE_PARAM_NAME);
        if (name.isEmpty())
            name = ip;
    }

    QString mac;
    QString ip;
    QString name;
};

// A known device gets the record as details, its name when the record names it, and
// never an invalid address over a valid one.
void updateInPlace(const NetworkMapObjectPtr &device, const Record &record,
                   const DiscoveredDevice &found)
{
    Record details = record;
    if (!Utility::isValidIpAddress(found.ip))
        details.remove(DEVICE_PARAM_LAN_IPADDRESS);
    device->saveDetails(details);
    if (found.name != found.ip) {
        device->setName(found.name);
        device->saveData();
    }
}

} // namespace

NetworkMap::IDiscoverStrategy::~IDiscoverStrategy() = default;

// "UNKNOWN_DEVICE": update a known device in place, whatever its type; create a new one under
// the record's type.
class NetworkMap::DefaultDiscoverStrategy : public NetworkMap::IDiscoverStrategy
{
public:
    NetworkMapObjectPtr discover(NetworkMap &map, const Record &record) override
    {
        const DiscoveredDevice found(record);
        if (found.mac.isEmpty())
            return NetworkMapObjectPtr();
        if (const NetworkMapObjectPtr device = map.getNwMapObject(found.mac)) {
            updateInPlace(device, record, found);
            return device;
        }
        return map.createNwMapObject(record.value(NS_DEVICE_TYPE), found.name, found.mac, found.ip,
                                     record);
    }
};

// "GATEWAY": a router seen for the first time becomes the master device; a device known
// under another type is re-created as a gateway.
class NetworkMap::GatewayDiscoverStrategy : public NetworkMap::IDiscoverStrategy
{
public:
    NetworkMapObjectPtr discover(NetworkMap &map, const Record &record) override
    {
        const DiscoveredDevice found(record);
        if (found.mac.isEmpty())
            return NetworkMapObjectPtr();
        if (const NetworkMapObjectPtr device = map.getNwMapObject(found.mac)) {
            if (device->getTypeName() == DEVICE_TYPE_GATEWAY) {
                updateInPlace(device, record, found);
                return device;
            }
            return NetworkMap::Implementation::of(map).changeType(device, DEVICE_TYPE_GATEWAY,
                                                                  record, found.name, found.ip);
        }
        if (record.value(GATEWAY_PARAM_ISROUTER) == BOOL_TRUE_VALUE)
            return map.createMasterDevice(found.name, found.mac, found.ip, record);
        return map.createNwMapObject(DEVICE_TYPE_GATEWAY, found.name, found.mac, found.ip, record);
    }
};

// "PC": a gateway keeps its type; any other known device is re-created as a PC. The PC that
// runs the application also names the map's interface and becomes its local PC.
class NetworkMap::PcDiscoverStrategy : public NetworkMap::IDiscoverStrategy
{
public:
    NetworkMapObjectPtr discover(NetworkMap &map, const Record &record) override
    {
        const DiscoveredDevice found(record);
        if (found.mac.isEmpty())
            return NetworkMapObjectPtr();
        NetworkMapObjectPtr device = map.getNwMapObject(found.mac);
        if (!device) {
            device = map.createNwMapObject(DEVICE_TYPE_PC, found.name, found.mac, found.ip, record);
        } else if (device->getTypeName() == DEVICE_TYPE_PC) {
            updateInPlace(device, record, found);
        } else if (device->getTypeName() != DEVICE_TYPE_GATEWAY) {
            device = NetworkMap::Implementation::of(map).changeType(device, DEVICE_TYPE_PC, record,
                                                                    found.name, found.ip);
        }
        // Without a device there is no id to record: the stored local PC stays as it is.
        if (device && record.value(PC_PARAM_ISLOCALZEL) == BOOL_TRUE_VALUE) {
            map.setNicGuid(record.value(PC_PARAM_LOCALZEL_NIC));
            map.setLocalZelPcId(device->getId());
            map.saveData();
        }
        return device;
    }
};

void NetworkMap::Implementation::addStrategies()
{
    strategies.insert(DEVICE_TYPE_GATEWAY,
                      boost::shared_ptr<IDiscoverStrategy>(new GatewayDiscoverStrategy));
    strategies.insert(DEVICE_TYPE_PC, boost::shared_ptr<IDiscoverStrategy>(new PcDiscoverStrategy));
    strategies.insert(DEVICE_TYPE_UNKNOWN_DEVICE,
                      boost::shared_ptr<IDiscoverStrategy>(new DefaultDiscoverStrategy));
}

NetworkMapObjectPtr NetworkMap::addDiscovery(const QMap<QString, QString> &record)
{
    // Before the lock: an absurd record must not make the user interface wait.
    if (!DiscoveryRecordLimits::admit(record, QStringLiteral("NetworkMap::addDiscovery")))
        return NetworkMapObjectPtr();
    return d->applyDiscovery(record);
}

NetworkMapObjectPtr NetworkMap::Implementation::applyDiscovery(const Record &record)
{
    UnitOfWork unit;
    const QString type = record.value(NS_DEVICE_TYPE);
    if (type.isEmpty())
        return NetworkMapObjectPtr();
    const boost::shared_ptr<IDiscoverStrategy> strategy = strategies.value(type);
    if (!strategy) {
        log(QStringLiteral("DiscoverStrategy not found for ") + type, ZelLogger::WARNING_LEVEL);
        return NetworkMapObjectPtr();
    }
    // A MAC address merged into another device stands for that device, which keeps its own.
    const QString mac = record.value(DEVICE_PARAM_LAN_MACADDRESS).toUpper();
    if (!mac.isEmpty() && !q->getNwMapObject(mac)) {
        if (const NetworkMapObjectPtr kept = q->getNwMapObject(aliases.deviceOf(q->getId(), mac))) {
            Record resolved = record;
            resolved.insert(DEVICE_PARAM_LAN_MACADDRESS, kept->getMacAddress());
            return unit.finish(strategy->discover(*q, resolved));
        }
    }
    return unit.finish(strategy->discover(*q, record));
}

NetworkMapObjectPtr NetworkMap::Implementation::changeType(const NetworkMapObjectPtr &device,
                                                           const QString &typeName,
                                                           const Record &record,
                                                           const QString &name, const QString &ip)
{
    const QString mac = device->getMacAddress();
    // Refused before anything is touched: the old device stays as it is.
    if (!Utility::isValidMacAddress(mac) || !Utility::isValidIpAddress(ip))
        return NetworkMapObjectPtr();
    const boost::shared_ptr<MapObject> type
        = MapObjectFactory::getInstance()->getMapObject(typeName, true);
    if (!type)
        return NetworkMapObjectPtr();
    // Old details that the record lacks are kept; the record's values win.
    QMap<QString, QString> merged = device->getDetailNameValueMap();
    for (auto value = record.cbegin(); value != record.cend(); ++value)
        merged.insert(value.key(), value.value());

    const int oldId = device->getId();
    const bool wasLocalPc = oldId == q->getLocalZelPcId();
    UnitOfWork unit;
    const NetworkMapObjectPtr created = deleteRow(device)
        ? createRow(typeName, name, mac, ip, device, type)
        : NetworkMapObjectPtr();
    if (!created || !aliases.move(q->getId(), oldId, created->getId())) {
        unit.rollBack();
        return NetworkMapObjectPtr();
    }
    created->saveDetails(merged);
    const int id = created->getId();
    // The map's local PC follows its device; the old row is gone, so nothing is converted.
    if (wasLocalPc) {
        remember();
        dirtyFields.set(*this->record, zeldb::NetworkMapsRecord::FieldLocalZelPcId, unsigned(id));
        q->saveData();
    }
    forgetDevice(oldId);
    UnitOfWork::announce(q, [q = q, oldId] { emit q->nwMapObjDeleted(oldId); });
    q->addNwMapObject(created);
    UnitOfWork::announce(q, [q = q, id] { emit q->nwMapObjCreated(id, false); });
    return unit.finish(created);
}

void NetworkMap::Implementation::markWireless(const QList<QString> &macs, bool allMacsOfDevice)
{
    // Upper-case MAC to the first device in ascending id that has it, built once.
    QHash<QString, NetworkMapObjectPtr> byMac;
    for (const NetworkMapObjectPtr &device : devices.values()) {
        const QList<QString> deviceMacs = allMacsOfDevice
            ? device->getMacAddressList()
            : QList<QString> { device->getMacAddress().toUpper() };
        for (const QString &mac : deviceMacs) {
            if (!byMac.contains(mac))
                byMac.insert(mac, device);
        }
    }
    for (const QString &mac : macs) {
        if (const NetworkMapObjectPtr device = byMac.value(mac.toUpper()))
            device->saveDetail(DEVICE_PARAM_LAN_CONNECTION_ISWIRELESS, BOOL_TRUE_VALUE);
    }
}

void NetworkMap::updateMeshClientList(const QList<QString> &macs)
{
    UnitOfWork unit;
    d->markWireless(macs, true);
}

void NetworkMap::updateWirelessClientList(const QList<QString> &macs)
{
    UnitOfWork unit;
    d->markWireless(macs, false);
}

} // namespace zelmw
