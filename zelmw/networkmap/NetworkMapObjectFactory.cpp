#include <zelmw/networkmap/NetworkMapObjectFactory_p.h>

#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/networkmap/NetworkMapFactory_p.h>
#include <zelmw/networkmap/NetworkMapObject_p.h>

#include <zelmw/networkmap/NetworkMapObjectDataHandler_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/Utility.h>

namespace zelmw {

namespace {

NetworkMapObjectFactory::NetworkMapObjectPtr
entityFromRecord(const NetworkMapObjectDataHandler::RecordPtr &record)
{
    return record ? NetworkMapObjectFactory::NetworkMapObjectPtr(new NetworkMapObject(record))
                  : NetworkMapObjectFactory::NetworkMapObjectPtr();
}

} // namespace

NetworkMapObjectFactory::NetworkMapObjectFactory()
    : d(new Implementation)
{ }

NetworkMapObjectFactory::~NetworkMapObjectFactory() = default;

boost::shared_ptr<NetworkMapObjectFactory> NetworkMapObjectFactory::getInstance()
{
    static const boost::shared_ptr<NetworkMapObjectFactory> instance(new NetworkMapObjectFactory);
    return instance;
}

NetworkMapObjectFactory::NetworkMapObjectPtr NetworkMapObjectFactory::getNetworkMapObject(int id)
{
    const ModelLock lock;
    return d->cache.getOrLoad(id, [&] { return loadFlyweight(id); });
}

NetworkMapObjectFactory::NetworkMapObjectPtr
NetworkMapObjectFactory::addNetworkMapObject(int mapObjectId, int networkMapId, const QString &name,
                                             const QString &mac, const QString &ip)
{
    UnitOfWork unit;
    if (!Utility::isValidMacAddress(mac) || !Utility::isValidIpAddress(ip))
        return NetworkMapObjectPtr();
    const NetworkMapObjectPtr added = entityFromRecord(
        NetworkMapObjectDataHandler().addRecord(mapObjectId, networkMapId, name, mac, ip, true));
    addToRepository(added);
    return unit.finish(added);
}

NetworkMapObjectFactory::NetworkMapObjectPtr NetworkMapObjectFactory::deleteNetworkMapObject(int id)
{
    UnitOfWork unit;
    const NetworkMapObjectPtr object = getNetworkMapObject(id);
    if (object) {
        object->deleteData();
        d->cache.remove(id);
    }
    unit.commit();
    return object;
}

bool NetworkMapObjectFactory::isEmpty() const
{
    const ModelLock lock;
    return d->cache.isEmpty();
}

int NetworkMapObjectFactory::size() const
{
    const ModelLock lock;
    return d->cache.size();
}

void NetworkMapObjectFactory::clear()
{
    const ModelLock lock;
    d->cache.clear();
}

NetworkMapObjectFactory::NetworkMapObjectPtr NetworkMapObjectFactory::loadFlyweight(int id)
{
    const ModelLock lock;
    // A device of a cached map is that map's object; a second one over its row would diverge.
    const NetworkMapObjectDataHandler::RecordPtr record
        = NetworkMapObjectDataHandler().getRecord(id);
    if (!record)
        return NetworkMapObjectPtr();
    if (const NetworkMapSharedPtr map
        = NetworkMapFactory::Implementation::instance().cache.get(int(record->NetworkMapId()))) {
        if (const NetworkMapObjectPtr held = map->getNwMapObject(id))
            return held;
    }
    return entityFromRecord(record);
}

QVector<NetworkMapObjectFactory::NetworkMapObjectPtr>
NetworkMapObjectFactory::Implementation::adoptRecords(
    const QVector<boost::shared_ptr<zeldb::NetworkMapObjectsRecord>> &records,
    const QVector<boost::shared_ptr<zeldb::NetworkMapObjectDetailsRecord>> &details)
{
    const ModelLock lock;
    // Read once for all, not once per device.
    const int leaseSeconds = NetworkMapObject::Implementation::configuredLeaseSeconds();
    const boost::shared_ptr<MapObjectFactory> types = MapObjectFactory::getInstance();
    const NetworkMapObject::Implementation::DetailRecordPtr *detail = details.constData();
    const NetworkMapObject::Implementation::DetailRecordPtr *const end = detail + details.size();
    QVector<NetworkMapObjectPtr> objects;
    objects.reserve(records.size());
    for (const boost::shared_ptr<zeldb::NetworkMapObjectsRecord> &record : records) {
        // A device's details are the next run; rows of a device not listed are passed over.
        while (detail != end && (*detail)->NetworkMapObjectId() < record->Id())
            ++detail;
        const NetworkMapObject::Implementation::DetailRecordPtr *const run = detail;
        while (detail != end && (*detail)->NetworkMapObjectId() == record->Id())
            ++detail;
        const int id = int(record->Id());
        NetworkMapObjectPtr object = cache.get(id);
        if (!object) {
            object = NetworkMapObject::Implementation::create(
                record, types->getMapObject(int(record->MapObjectId())), run, int(detail - run),
                leaseSeconds);
            cache.add(object);
        }
        objects.append(object);
    }
    return objects;
}

void NetworkMapObjectFactory::addToRepository(const NetworkMapObjectPtr &object)
{
    const ModelLock lock;
    d->cache.add(object);
}

} // namespace zelmw
