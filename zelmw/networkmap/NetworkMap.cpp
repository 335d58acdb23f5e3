#include <zelmw/networkmap/NetworkMap.h>

#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/facades/VelCpeFacade.h>
#include <zelmw/networkmap/DeviceAddressIndex_p.h>
#include <zelmw/networkmap/DiscoveryRecordLimits_p.h>
#include <zelmw/networkmap/NetworkMapDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/networkmap/NetworkMapObjectDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/persistence/DirtyFields_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/TwoKeyRegistry_p.h>
#include <zelmw/vocabulary/Utility.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <boost/make_shared.hpp>
#include <zellogger/ZelLogger.h>

#include <stdexcept>

namespace zelmw {

using zeldb::NetworkMapsRecord;
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

} // namespace

NetworkMap::IDiscoverStrategy::~IDiscoverStrategy() = default;

class NetworkMap::Implementation
{
public:
    boost::shared_ptr<NetworkMapsRecord> record;
    DirtyFields dirtyFields;
    // By id and by the MAC address each device had when it was entered.
    TwoKeyRegistry<QString, NetworkMapObject> devices;
    QMap<QString, boost::shared_ptr<IDiscoverStrategy>> strategies;
    // How many of the devices have each MAC address, case folded: a new device must not
    // repeat one. Kept as devices come and go, counted again after any device's MAC address
    // was set, which is rare.
    QHash<QString, int> macCounts;
    quint64 macCountsAt = 0;

    // Counts DEVICE, entering (DELTA 1) or leaving (-1), unless a recount is due anyway.
    void countMac(const NetworkMapObject &device, int delta)
    {
        if (macCountsAt != NetworkMapObject::macAddressChanges())
            return;
        const QString mac = device.getMacAddress().toCaseFolded();
        int &count = macCounts[mac];
        count += delta;
        if (count <= 0)
            macCounts.remove(mac);
    }

    // Whether a device other than EXCEPT has MAC, compared ignoring case.
    bool hasMac(const QString &mac, const NetworkMapObjectPtr &except)
    {
        if (macCountsAt != NetworkMapObject::macAddressChanges()) {
            macCounts.clear();
            macCountsAt = NetworkMapObject::macAddressChanges();
            devices.forEach([this](const NetworkMapObjectPtr &device) { countMac(*device, 1); });
        }
        const QString folded = mac.toCaseFolded();
        int count = macCounts.value(folded);
        if (except && devices.get(except->getId()) == except
            && except->getMacAddress().toCaseFolded() == folded)
            --count;
        return count > 0;
    }

    DeviceAddressIndex byIp { [](const NetworkMapObject &device) { return device.getIpAddress(); },
                              [](const NetworkMapObject &device) {
                                  return device.isSteadilyConnected();
                              } };

    ~Implementation() { UnitOfWork::forget(this); }

    // Before a change of the row: the unit of work restores it if it fails.
    void remember()
    {
        UnitOfWork::remember(this, [this] {
            return [this, saved = *record, dirty = dirtyFields] {
                *record = saved;
                dirtyFields = dirty;
            };
        });
    }

    // After the registry changed back: what is derived from it is counted again.
    void registryRestored()
    {
        macCountsAt = 0;
        DeviceAddressIndex::invalidateAll();
    }

    // A known device gets the record as details, its name when the record names it, and
    // never an invalid address over a valid one.
    static void updateInPlace(const NetworkMapObjectPtr &device, const Record &record,
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
};

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
            Implementation::updateInPlace(device, record, found);
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
                Implementation::updateInPlace(device, record, found);
                return device;
            }
            return map.changeType(device, DEVICE_TYPE_GATEWAY, record, found.name, found.ip);
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
            Implementation::updateInPlace(device, record, found);
        } else if (device->getTypeName() != DEVICE_TYPE_GATEWAY) {
            device = map.changeType(device, DEVICE_TYPE_PC, record, found.name, found.ip);
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

NetworkMap::NetworkMap(const boost::shared_ptr<NetworkMapsRecord> &record, QObject *parent)
    : QObject(parent)
    , d(new Implementation)
{
    setRecord(record);
    d->strategies.insert(DEVICE_TYPE_GATEWAY,
                         boost::shared_ptr<IDiscoverStrategy>(new GatewayDiscoverStrategy));
    d->strategies.insert(DEVICE_TYPE_PC,
                         boost::shared_ptr<IDiscoverStrategy>(new PcDiscoverStrategy));
    d->strategies.insert(DEVICE_TYPE_UNKNOWN_DEVICE,
                         boost::shared_ptr<IDiscoverStrategy>(new DefaultDiscoverStrategy));
    // A map built on a worker thread belongs to the application's thread, so that the
    // application's own connections and deleteLater keep working after the worker ended.
    const QCoreApplication *application = QCoreApplication::instance();
    if (!parent && application && thread() != application->thread())
        moveToThread(application->thread());
}

NetworkMap::~NetworkMap()
{
    const ModelLock lock;
    for (const NetworkMapObjectPtr &device : d->devices.values())
        device->releaseOwner(this);
}

void NetworkMap::setRecord(const boost::shared_ptr<NetworkMapsRecord> &record)
{
    if (!record)
        throw std::invalid_argument("NetworkMap::setRecord failed");
    d->record = record;
}

int NetworkMap::getId() const
{
    const ModelLock lock;
    return int(d->record->Id());
}

QString NetworkMap::getSerial() const
{
    const ModelLock lock;
    return d->record->Serial();
}

QString NetworkMap::getName() const
{
    const ModelLock lock;
    return d->record->Name();
}

int NetworkMap::getMasterDeviceId() const
{
    const ModelLock lock;
    return int(d->record->MasterDeviceId());
}

int NetworkMap::getLocalZelPcId() const
{
    const ModelLock lock;
    return int(d->record->LocalZelPcId());
}

QString NetworkMap::getNicGuid() const
{
    const ModelLock lock;
    return d->record->Nic();
}

void NetworkMap::setSerial(const QString &serial)
{
    const ModelLock lock;
    d->remember();
    d->dirtyFields.set(*d->record, NetworkMapsRecord::FieldSerial, serial);
}

void NetworkMap::setName(const QString &name)
{
    const ModelLock lock;
    d->remember();
    d->dirtyFields.set(*d->record, NetworkMapsRecord::FieldName, name);
}

void NetworkMap::setMasterDeviceId(int id)
{
    const ModelLock lock;
    d->remember();
    d->dirtyFields.set(*d->record, NetworkMapsRecord::FieldMasterDeviceId, unsigned(id));
}

void NetworkMap::setLocalZelPcId(int id)
{
    UnitOfWork unit;
    const int oldId = getLocalZelPcId();
    d->remember();
    if (d->dirtyFields.set(*d->record, NetworkMapsRecord::FieldLocalZelPcId, unsigned(id))
        && oldId != 0)
        onLocalzelPcChange(oldId);
}

void NetworkMap::setNicGuid(const QString &nicGuid)
{
    const ModelLock lock;
    if (nicGuid.isEmpty() || nicGuid == d->record->Nic())
        return;
    d->remember();
    d->dirtyFields.set(*d->record, NetworkMapsRecord::FieldNic, nicGuid);
    UnitOfWork::announce(this, [this, nicGuid] { emit nicGuidChanged(nicGuid); });
}

void NetworkMap::onLocalzelPcChange(int oldId)
{
    UnitOfWork unit;
    if (const NetworkMapObjectPtr device = getNwMapObject(oldId)) {
        device->saveDetail(PC_PARAM_ISLOCALZEL, BOOL_FALSE_VALUE);
        UnitOfWork::announce(this, [this, oldId] { emit convertLocalZelToPc(oldId); });
    }
}

void NetworkMap::addNwMapObject(const NetworkMapObjectPtr &object)
{
    const ModelLock lock;
    if (!object)
        return;
    const int id = object->getId();
    // Another object over the same row must stop relaying through this map.
    removeNwMapObject(id);
    d->devices.add(id, object->getMacAddress(), object);
    d->countMac(*object, 1);
    UnitOfWork::onRollback(d.get(), [this, id, object] {
        d->devices.removeId(id);
        d->registryRestored();
    });
    // The device relays its reports through this map on the thread that made them, under the
    // lock it holds, also when the map's own thread has no event loop.
    object->setOwner(this);
    DeviceAddressIndex::invalidateAll();
}

NetworkMapObjectPtr NetworkMap::getNwMapObject(int id) const
{
    const ModelLock lock;
    return d->devices.get(id);
}

NetworkMapObjectPtr NetworkMap::getNwMapObject(const QString &mac) const
{
    const ModelLock lock;
    return d->devices.find(mac);
}

bool NetworkMap::hasNwMapObject(int id) const
{
    const ModelLock lock;
    return d->devices.containsId(id);
}

bool NetworkMap::hasNwMapObject(const QString &mac) const
{
    const ModelLock lock;
    return d->devices.containsKey(mac);
}

bool NetworkMap::removeNwMapObject(int id)
{
    const ModelLock lock;
    // By identity: the entries that point to this device, whatever its MAC is now.
    const QString key = d->devices.keyOf(id);
    const NetworkMapObjectPtr device = d->devices.removeId(id);
    if (device) {
        UnitOfWork::onRollback(d.get(), [this, id, key, device] {
            d->devices.add(id, key, device);
            d->registryRestored();
        });
        d->countMac(*device, -1);
        device->releaseOwner(this);
        DeviceAddressIndex::invalidateAll();
    }
    return bool(device);
}

bool NetworkMap::removeNwMapObject(const QString &mac)
{
    const ModelLock lock;
    const NetworkMapObjectPtr device = getNwMapObject(mac);
    return device && removeNwMapObject(device->getId());
}

QList<NetworkMapObjectPtr> NetworkMap::getNwMapObjectList() const
{
    const ModelLock lock;
    return d->devices.values();
}

int NetworkMap::count() const
{
    const ModelLock lock;
    return d->devices.size();
}

bool NetworkMap::isEmpty() const
{
    return count() == 0;
}

NetworkMapObjectPtr NetworkMap::getMasterDevice() const
{
    const ModelLock lock;
    return getNwMapObject(getMasterDeviceId());
}

NetworkMapObjectPtr NetworkMap::getLocalZel() const
{
    const ModelLock lock;
    return getNwMapObject(getLocalZelPcId());
}

NetworkMapObjectPtr NetworkMap::createNwMapObjPrivate(const QString &typeName, const QString &name,
                                                      const QString &mac, const QString &ip,
                                                      const NetworkMapObjectPtr &replaced)
{
    // Compared ignoring case: "aa:bb:..." and "AA:BB:..." are one device.
    if (d->hasMac(mac, replaced)) {
        log(QStringLiteral("NetworkMap::createNwMapObject - another device already exists "
                           "with same MAC address: ")
                + mac,
            ZelLogger::WARNING_LEVEL);
        return NetworkMapObjectPtr();
    }
    if (!Utility::isValidMacAddress(mac)) {
        log(QStringLiteral("NetworkMap::createNwMapObject - invalid MAC address: ") + mac,
            ZelLogger::WARNING_LEVEL);
        return NetworkMapObjectPtr();
    }
    if (!Utility::isValidIpAddress(ip)) {
        log(QStringLiteral("NetworkMap::createNwMapObject - invalid IP address: ") + ip,
            ZelLogger::WARNING_LEVEL);
        return NetworkMapObjectPtr();
    }
    const boost::shared_ptr<MapObject> type
        = MapObjectFactory::getInstance()->getMapObject(typeName, true);
    if (!type) {
        log(QStringLiteral("NetworkMap::createNwMapObject - MapObject not found: ") + typeName,
            ZelLogger::WARNING_LEVEL);
        return NetworkMapObjectPtr();
    }
    const NetworkMapObjectDataHandler::RecordPtr record
        = NetworkMapObjectDataHandler().addRecord(type->getId(), getId(), name, mac, ip, true);
    if (!record) {
        log(QStringLiteral("NetworkMap::createNwMapObject -  Record cannot be created"),
            ZelLogger::WARNING_LEVEL);
        return NetworkMapObjectPtr();
    }
    // A new row has no details to read.
    const NetworkMapObjectPtr device(
        new NetworkMapObject(record, nullptr, 0, NetworkMapObject::configuredDeleteTimeout()));
    log(QStringLiteral("NetworkMapObject of type:%1 created, MAC:%2, IP:%3, Name:%4")
            .arg(typeName, mac, ip, name),
        ZelLogger::INFO_LEVEL);
    return device;
}

NetworkMapObjectPtr NetworkMap::createNwMapObject(const QString &typeName, const QString &name,
                                                  const QString &mac, const QString &ip,
                                                  const QMap<QString, QString> &details)
{
    return createDevice(typeName, name, mac, ip, details, false);
}

NetworkMapObjectPtr NetworkMap::createMasterDevice(const QString &name, const QString &mac,
                                                   const QString &ip,
                                                   const QMap<QString, QString> &details)
{
    return createDevice(DEVICE_TYPE_GATEWAY, name, mac, ip, details, true);
}

NetworkMapObjectPtr NetworkMap::createDevice(const QString &typeName, const QString &name,
                                             const QString &mac, const QString &ip,
                                             const QMap<QString, QString> &details, bool master)
{
    // The row, its details and the map's master device are stored together or not at all.
    UnitOfWork unit;
    const NetworkMapObjectPtr device = createNwMapObjPrivate(typeName, name, mac, ip);
    if (!device)
        return device;
    device->saveDetails(details);
    const int id = device->getId();
    if (master) {
        setMasterDeviceId(id);
        saveData();
    }
    addNwMapObject(device);
    UnitOfWork::announce(this, [this, id, master] { emit nwMapObjCreated(id, master); });
    return unit.finish(device);
}

NetworkMapObjectPtr NetworkMap::changeType(const NetworkMapObjectPtr &device,
                                           const QString &typeName, const Record &record,
                                           const QString &name, const QString &ip)
{
    const QString mac = device->getMacAddress();
    // Refused before anything is touched: the old device stays as it is.
    if (!Utility::isValidMacAddress(mac) || !Utility::isValidIpAddress(ip)
        || !MapObjectFactory::getInstance()->getMapObject(typeName, true))
        return NetworkMapObjectPtr();
    // Old details that the record lacks are kept; the record's values win.
    QMap<QString, QString> merged = device->getDetailNameValueMap();
    for (auto value = record.cbegin(); value != record.cend(); ++value)
        merged.insert(value.key(), value.value());

    const int oldId = device->getId();
    const bool wasLocalPc = oldId == getLocalZelPcId();
    UnitOfWork unit;
    const NetworkMapObjectPtr created = deleteRow(device)
        ? createNwMapObjPrivate(typeName, name, mac, ip, device)
        : NetworkMapObjectPtr();
    if (!created) {
        unit.rollBack();
        return created;
    }
    created->saveDetails(merged);
    const int id = created->getId();
    // The map's local PC follows its device; the old row is gone, so nothing is converted.
    if (wasLocalPc) {
        d->remember();
        d->dirtyFields.set(*d->record, NetworkMapsRecord::FieldLocalZelPcId, unsigned(id));
        saveData();
    }
    forgetDevice(oldId);
    UnitOfWork::announce(this, [this, oldId] { emit nwMapObjDeleted(oldId); });
    addNwMapObject(created);
    UnitOfWork::announce(this, [this, id] { emit nwMapObjCreated(id, false); });
    return unit.finish(created);
}

bool NetworkMap::deleteRow(const NetworkMapObjectPtr &device)
{
    if (device->deleteData())
        return true;
    // A row that is already gone (the store answers, but has no such row) counts as deleted;
    // otherwise the device would be stuck on the map for ever.
    ZelDbConnection connection;
    return connection.open() && !NetworkMapObjectDataHandler().getRecord(device->getId());
}

void NetworkMap::forgetDevice(int id)
{
    removeNwMapObject(id);
    NetworkMapObjectFactory::getInstance()->forgetNetworkMapObject(id);
}

bool NetworkMap::deleteNwMapObject(int id)
{
    UnitOfWork unit;
    const NetworkMapObjectPtr device = getNwMapObject(id);
    if (!device || !deleteRow(device))
        return false;
    forgetDevice(id);
    UnitOfWork::announce(this, [this, id] { emit nwMapObjDeleted(id); });
    return unit.finish(true);
}

bool NetworkMap::deleteNwMapObject(const QString &mac)
{
    UnitOfWork unit;
    const NetworkMapObjectPtr device = getNwMapObject(mac);
    return device && deleteNwMapObject(device->getId());
}

NetworkMapObjectPtr NetworkMap::getNwMapObjectByIp(const QString &ip) const
{
    const ModelLock lock;
    const DeviceAddressIndex::Entries &index = d->byIp.entries(d->devices);
    const auto found = DeviceAddressIndex::find(index, ip);
    return found != index.cend() ? found->device : NetworkMapObjectPtr();
}

NetworkMapObjectPtr NetworkMap::getNwMapObjectBySerialNumber(const QString &serial) const
{
    const ModelLock lock;
    const QString wanted = serial.toLower();
    for (const NetworkMapObjectPtr &device : getVelCpeList()) {
        if (VelCpeFacade(device).getUpnpSerialNumber().toLower() == wanted)
            return device;
    }
    return NetworkMapObjectPtr();
}

QList<NetworkMapObjectPtr> NetworkMap::getVelCpeList() const
{
    const ModelLock lock;
    QList<NetworkMapObjectPtr> cpes;
    for (const NetworkMapObjectPtr &device : d->devices.values()) {
        if (VelCpeFacade(device).isVelmoraCpe())
            cpes.append(device);
    }
    return cpes;
}

QMap<QString, QString> NetworkMap::getMacIpMap(bool excludeLocalZel) const
{
    const ModelLock lock;
    QMap<QString, QString> macIp;
    for (const NetworkMapObjectPtr &device : d->devices.values())
        macIp.insert(device->getMacAddress(), device->getIpAddress());
    const NetworkMapObjectPtr localPc = getLocalZel();
    if (excludeLocalZel && localPc)
        macIp.remove(localPc->getMacAddress());
    return macIp;
}

QStringList NetworkMap::getIpAddressList(bool excludeLocalZel) const
{
    return getMacIpMap(excludeLocalZel).values();
}

void NetworkMap::setAllDeviceConnectionStatus(bool isConnected, bool force)
{
    UnitOfWork unit;
    // A snapshot: a report may delete its device.
    for (const NetworkMapObjectPtr &device : d->devices.values())
        device->setIsConnected(isConnected, force);
}

void NetworkMap::saveConnectionStatus(const QMap<QString, bool> &status)
{
    UnitOfWork unit;
    // Copies, which share the index: a receiver of the reports may change the map. The
    // devices are found first, in one walk through the report and the index, each in
    // ascending address (an address finds its lowest-id device); a "connected" report need
    // look only among the devices not steadily connected. They are then visited in a loop
    // that does little else, so that a large map's devices, which lie far apart in memory,
    // are fetched side by side.
    const DeviceAddressIndex::Entries all = d->byIp.entries(d->devices);
    const DeviceAddressIndex::Entries unsteady = d->byIp.unsteadyEntries(d->devices);
    QVector<QPair<NetworkMapObject *, bool>> reports;
    auto atAll = all.cbegin();
    auto atUnsteady = unsteady.cbegin();
    for (auto entry = status.cbegin(); entry != status.cend(); ++entry) {
        if (entry.value()) {
            if (DeviceAddressIndex::seek(atUnsteady, unsteady.cend(), entry.key()))
                reports.append({ atUnsteady->device.get(), true });
        } else if (DeviceAddressIndex::seek(atAll, all.cend(), entry.key())) {
            reports.append({ atAll->device.get(), false });
        }
    }
    for (const QPair<NetworkMapObject *, bool> &report : qAsConst(reports))
        report.first->setIsConnected(report.second, false);
}

NetworkMapObjectPtr NetworkMap::addDiscovery(const QMap<QString, QString> &record)
{
    // Before the lock: an absurd record must not make the user interface wait.
    if (!DiscoveryRecordLimits::admit(record, QStringLiteral("NetworkMap::addDiscovery")))
        return NetworkMapObjectPtr();
    UnitOfWork unit;
    const QString type = record.value(NS_DEVICE_TYPE);
    if (type.isEmpty())
        return NetworkMapObjectPtr();
    const boost::shared_ptr<IDiscoverStrategy> strategy = d->strategies.value(type);
    if (!strategy) {
        log(QStringLiteral("DiscoverStrategy not found for ") + type, ZelLogger::WARNING_LEVEL);
        return NetworkMapObjectPtr();
    }
    return unit.finish(strategy->discover(*this, record));
}

void NetworkMap::markWireless(const QList<QString> &macs, bool allMacsOfDevice)
{
    // Upper-case MAC to the first device in ascending id that has it, built once.
    QHash<QString, NetworkMapObjectPtr> byMac;
    for (const NetworkMapObjectPtr &device : d->devices.values()) {
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
    markWireless(macs, true);
}

void NetworkMap::updateWirelessClientList(const QList<QString> &macs)
{
    UnitOfWork unit;
    markWireless(macs, false);
}

bool NetworkMap::saveData()
{
    UnitOfWork unit;
    if (!d->dirtyFields.isDirty())
        return false;
    d->remember();
    // The table stamps the update date.
    return unit.finish(d->dirtyFields.save<NetworkMapDataHandler>(*d->record));
}

bool NetworkMap::deleteData()
{
    UnitOfWork unit;
    d->remember();
    return unit.finish(d->dirtyFields.remove<NetworkMapDataHandler>(*d->record));
}

void NetworkMap::onTimeoutToDelete(int nwmapObjId)
{
    UnitOfWork unit;
    // The gateway and the PC that runs the application are never deleted by lease time.
    if (nwmapObjId == getLocalZelPcId() || nwmapObjId == getMasterDeviceId())
        return;
    const NetworkMapObjectPtr device = getNwMapObject(nwmapObjId);
    if (!device)
        return;
    if (deleteNwMapObject(nwmapObjId)) {
        log(QStringLiteral("NetworkMapObject - onDeviceDeleteTimeout received for type:%1, "
                           "MAC:%2, IP:%3, Name:%4")
                .arg(device->getTypeName(), device->getMacAddress(), device->getIpAddress(),
                     device->getName()),
            ZelLogger::INFO_LEVEL);
    } else {
        log(QStringLiteral("NetworkMapObject - onDeviceDeleteTimeout received but device cannot "
                           "be delelete, type:%1, MAC:%2, IP:%3")
                .arg(device->getTypeName(), device->getMacAddress(), device->getIpAddress()),
            ZelLogger::ERROR_LEVEL);
    }
}

} // namespace zelmw
