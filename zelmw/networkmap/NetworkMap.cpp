#include <zelmw/networkmap/NetworkMap_p.h>

#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/facades/VelCpeFacade.h>
#include <zelmw/networkmap/NetworkMapDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectDetailDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectFactory_p.h>
#include <zelmw/networkmap/NetworkMapObject_p.h>
#include <zelmw/networkmap/PresenceHistory_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/Utility.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QCoreApplication>
#include <zellogger/ZelLogger.h>

#include <stdexcept>

namespace zelmw {

using zeldb::NetworkMapsRecord;
using NetworkMapObjectPtr = NetworkMap::NetworkMapObjectPtr;

namespace {

void log(const QString &message, int level)
{
    ZelLogger::getInstance()->log(message, level, LOGGER_NAME);
}

} // namespace

NetworkMap::Implementation::Implementation(NetworkMap *q)
    : q(q)
{ }

NetworkMap::Implementation::~Implementation()
{
    UnitOfWork::forget(this);
}

void NetworkMap::Implementation::remember()
{
    UnitOfWork::remember(this, [this] {
        return [this, saved = *record, dirty = dirtyFields] {
            *record = saved;
            dirtyFields = dirty;
        };
    });
}

NetworkMap::NetworkMap(const boost::shared_ptr<NetworkMapsRecord> &record, QObject *parent)
    : QObject(parent)
    , d(new Implementation(this))
{
    if (!record)
        throw std::invalid_argument("NetworkMap::setRecord failed");
    d->record = record;
    d->addStrategies();
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
        NetworkMapObject::Implementation::of(*device).releaseOwner(d.get());
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
    // Another object over the same row must stop relaying through this map.
    removeNwMapObject(object->getId());
    d->devices.add(object);
    // The device reports to this map on the thread that made the report, under the lock it
    // holds, also when the map's own thread has no event loop.
    NetworkMapObject::Implementation::of(*object).setOwner(d.get());
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
    return d->devices.containsMac(mac);
}

bool NetworkMap::removeNwMapObject(int id)
{
    const ModelLock lock;
    // By identity: the entry that points to this device, whatever its MAC is now.
    const NetworkMapObjectPtr device = d->devices.remove(id);
    if (device)
        NetworkMapObject::Implementation::of(*device).releaseOwner(d.get());
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

NetworkMapObjectPtr NetworkMap::Implementation::createRow(
    const QString &typeName, const QString &name, const QString &mac, const QString &ip,
    const NetworkMapObjectPtr &replaced, const boost::shared_ptr<MapObject> &knownType)
{
    // Compared ignoring case: "aa:bb:..." and "AA:BB:..." are one device.
    if (devices.hasMac(mac, replaced)) {
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
        = knownType ? knownType : MapObjectFactory::getInstance()->getMapObject(typeName, true);
    if (!type) {
        log(QStringLiteral("NetworkMap::createNwMapObject - MapObject not found: ") + typeName,
            ZelLogger::WARNING_LEVEL);
        return NetworkMapObjectPtr();
    }
    const NetworkMapObjectDataHandler::RecordPtr record
        = NetworkMapObjectDataHandler().addRecord(type->getId(), q->getId(), name, mac, ip, true);
    if (!record) {
        log(QStringLiteral("NetworkMap::createNwMapObject -  Record cannot be created"),
            ZelLogger::WARNING_LEVEL);
        return NetworkMapObjectPtr();
    }
    // A new row has no details to read.
    const NetworkMapObjectPtr device = NetworkMapObject::Implementation::create(
        record, type, nullptr, 0, NetworkMapObject::Implementation::configuredLeaseSeconds());
    log(QStringLiteral("NetworkMapObject of type:%1 created, MAC:%2, IP:%3, Name:%4")
            .arg(typeName, mac, ip, name),
        ZelLogger::INFO_LEVEL);
    // A device is made connected; one that replaces another goes on in its session.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (replaced)
        PresenceHistory::connected(q->getId(), mac, now);
    else
        PresenceHistory::started(q->getId(), mac, now);
    const QMap<QString, QString> returning = deletedDevices.takeBack(q->getId(), mac);
    for (auto detail = returning.cbegin(); detail != returning.cend(); ++detail) {
        if (detail.key() == DEVICE_PARAM_USER_DEFINED_NAME)
            device->setUserDefinedName(detail.value());
        else
            device->saveDetail(detail.key(), detail.value());
    }
    return device;
}

NetworkMapObjectPtr NetworkMap::createNwMapObject(const QString &typeName, const QString &name,
                                                  const QString &mac, const QString &ip,
                                                  const QMap<QString, QString> &details)
{
    return d->createDevice(typeName, name, mac, ip, details, false);
}

NetworkMapObjectPtr NetworkMap::createMasterDevice(const QString &name, const QString &mac,
                                                   const QString &ip,
                                                   const QMap<QString, QString> &details)
{
    return d->createDevice(DEVICE_TYPE_GATEWAY, name, mac, ip, details, true);
}

NetworkMapObjectPtr NetworkMap::Implementation::createDevice(const QString &typeName,
                                                             const QString &name,
                                                             const QString &mac, const QString &ip,
                                                             const QMap<QString, QString> &details,
                                                             bool master)
{
    // The row, its details and the map's master device are stored together or not at all.
    UnitOfWork unit;
    const NetworkMapObjectPtr device = createRow(typeName, name, mac, ip);
    if (!device)
        return device;
    device->saveDetails(details);
    const int id = device->getId();
    if (master) {
        q->setMasterDeviceId(id);
        q->saveData();
    }
    q->addNwMapObject(device);
    UnitOfWork::announce(q, [q = q, id, master] { emit q->nwMapObjCreated(id, master); });
    return unit.finish(device);
}

bool NetworkMap::Implementation::deleteRow(const NetworkMapObjectPtr &device)
{
    // A row that is already gone (the store answers, but has no such row) counts as deleted;
    // otherwise the device would be stuck on the map for ever.
    bool deleted = device->deleteData();
    if (!deleted) {
        ZelDbConnection connection;
        deleted = connection.open() && !NetworkMapObjectDataHandler().getRecord(device->getId());
    }
    // Its details go with it: nothing reaches them once the row is gone (ids are never reused).
    return deleted && NetworkMapObjectDetailDataHandler().deleteRecordsOf(device->getId());
}

bool NetworkMap::Implementation::endSession(const NetworkMapObject &device)
{
    return !device.getIsConnected()
        || PresenceHistory::disconnected(q->getId(), device.getMacAddress(),
                                         QDateTime::currentDateTimeUtc());
}

void NetworkMap::Implementation::forgetDevice(int id)
{
    q->removeNwMapObject(id);
    NetworkMapObjectFactory::Implementation::instance().forget(id);
}

bool NetworkMap::deleteNwMapObject(int id)
{
    UnitOfWork unit;
    const NetworkMapObjectPtr device = getNwMapObject(id);
    if (!device || !d->deletedDevices.keep(getId(), *device) || !d->endSession(*device)
        || !d->aliases.removeAll(getId(), id) || !d->deleteRow(device))
        return false;
    d->forgetDevice(id);
    UnitOfWork::announce(this, [this, id] { emit nwMapObjDeleted(id); });
    return unit.finish(true);
}

bool NetworkMap::deleteNwMapObject(const QString &mac)
{
    UnitOfWork unit;
    const NetworkMapObjectPtr device = getNwMapObject(mac);
    return device && deleteNwMapObject(device->getId());
}

bool NetworkMap::mergeDevices(int keepId, int goneId)
{
    UnitOfWork unit;
    const NetworkMapObjectPtr kept = getNwMapObject(keepId);
    const NetworkMapObjectPtr gone = getNwMapObject(goneId);
    if (!kept || !gone || kept == gone)
        return false;
    for (const QString &name : DeletedDeviceRecords::userDetails()) {
        const QString value = gone->getDetailValue(name, QString());
        if (value.isEmpty() || !kept->getDetailValue(name, QString()).isEmpty())
            continue;
        if (name == DEVICE_PARAM_USER_DEFINED_NAME)
            kept->setUserDefinedName(value);
        else
            kept->saveDetail(name, value);
    }
    // The gone device's details live on in the kept one: what was kept for the return of its
    // MAC address would bring them back a second time, to a device that address never makes.
    const int mapId = getId();
    const QString goneMac = gone->getMacAddress();
    if (!d->deletedDevices.drop(mapId, goneMac) || !d->endSession(*gone)
        || !d->aliases.move(mapId, goneId, keepId) || !d->aliases.add(mapId, goneMac, keepId)
        || !d->deleteRow(gone)) {
        unit.rollBack();
        return false;
    }
    d->forgetDevice(goneId);
    UnitOfWork::announce(this, [this, goneId] { emit nwMapObjDeleted(goneId); });
    return unit.finish(true);
}

QStringList NetworkMap::getMacAliases(int id) const
{
    const ModelLock lock;
    return d->aliases.of(getId(), id);
}

NetworkMapObjectPtr NetworkMap::getNwMapObjectByIp(const QString &ip) const
{
    const ModelLock lock;
    const DeviceAddressIndex::Entries &index = d->devices.byIp();
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
    const DeviceAddressIndex::Entries all = d->devices.byIp();
    const DeviceAddressIndex::Entries unsteady = d->devices.unsteadyByIp();
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

void NetworkMap::Implementation::deviceConnectionChanged(int id, bool connected)
{
    UnitOfWork::announce(q, [q = q, id, connected] {
        if (connected)
            emit q->nwmapObjConnected(id);
        else
            emit q->nwmapObjDisconnected(id);
    });
}

void NetworkMap::Implementation::deviceRestored()
{
    devices.addressChanged();
    devices.macChanged();
    devices.connectionsChanged();
}

void NetworkMap::Implementation::leaseExpired(int id)
{
    // The gateway and the PC that runs the application are never deleted by lease time.
    if (id == q->getLocalZelPcId() || id == q->getMasterDeviceId())
        return;
    const NetworkMapObjectPtr device = q->getNwMapObject(id);
    if (!device)
        return;
    if (q->deleteNwMapObject(id)) {
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
