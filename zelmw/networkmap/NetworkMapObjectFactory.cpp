#include <zelmw/networkmap/NetworkMapObjectFactory.h>

#include <zelmw/networkmap/ModelLock_p.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/networkmap/NetworkMapObjectDataHandler_p.h>
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

NetworkMapObjectFactory::NetworkMapObjectFactory() = default;
NetworkMapObjectFactory::~NetworkMapObjectFactory() = default;

boost::shared_ptr<NetworkMapObjectFactory> NetworkMapObjectFactory::getInstance()
{
    static const boost::shared_ptr<NetworkMapObjectFactory> instance(new NetworkMapObjectFactory);
    return instance;
}

NetworkMapObjectFactory::NetworkMapObjectPtr NetworkMapObjectFactory::getNetworkMapObject(int id)
{
    const ModelLock lock;
    const NetworkMapObjectPtr cached = m_repository.value(id);
    if (cached)
        return cached;
    const NetworkMapObjectPtr loaded = loadFlyweight(id);
    addToRepository(loaded);
    return loaded;
}

NetworkMapObjectFactory::NetworkMapObjectPtr
NetworkMapObjectFactory::addNetworkMapObject(int mapObjectId, int networkMapId, const QString &name,
                                             const QString &mac, const QString &ip)
{
    const ModelLock lock;
    if (!Utility::isValidMacAddress(mac) || !Utility::isValidIpAddress(ip))
        return NetworkMapObjectPtr();
    const NetworkMapObjectPtr added = entityFromRecord(
        NetworkMapObjectDataHandler().addRecord(mapObjectId, networkMapId, name, mac, ip, true));
    addToRepository(added);
    return added;
}

NetworkMapObjectFactory::NetworkMapObjectPtr NetworkMapObjectFactory::deleteNetworkMapObject(int id)
{
    const ModelLock lock;
    const NetworkMapObjectPtr object = getNetworkMapObject(id);
    if (object) {
        object->deleteData();
        m_repository.remove(id);
    }
    return object;
}

bool NetworkMapObjectFactory::isEmpty() const
{
    const ModelLock lock;
    return m_repository.isEmpty();
}

int NetworkMapObjectFactory::size() const
{
    const ModelLock lock;
    return m_repository.size();
}

void NetworkMapObjectFactory::clear()
{
    const ModelLock lock;
    m_repository.clear();
}

NetworkMapObjectFactory::NetworkMapObjectPtr NetworkMapObjectFactory::loadFlyweight(int id)
{
    const ModelLock lock;
    // A device of a cached map is that map's object; a second one over its row would diverge.
    const NetworkMapObjectDataHandler::RecordPtr record = NetworkMapObjectDataHandler().getRecord(id);
    if (!record)
        return NetworkMapObjectPtr();
    if (const NetworkMapSharedPtr map
        = NetworkMapFactory::getInstance()->cachedNetworkMap(int(record->NetworkMapId()))) {
        if (const NetworkMapObjectPtr held = map->getNwMapObject(id))
            return held;
    }
    return entityFromRecord(record);
}

NetworkMapObjectFactory::NetworkMapObjectPtr NetworkMapObjectFactory::adoptRecord(
    const boost::shared_ptr<zeldb::NetworkMapObjectsRecord> &record)
{
    const ModelLock lock;
    NetworkMapObjectPtr object = m_repository.value(int(record->Id()));
    if (!object) {
        object = entityFromRecord(record);
        addToRepository(object);
    }
    return object;
}

void NetworkMapObjectFactory::forgetNetworkMapObject(int id)
{
    const ModelLock lock;
    m_repository.remove(id);
}

void NetworkMapObjectFactory::addToRepository(const NetworkMapObjectPtr &object)
{
    const ModelLock lock;
    if (object)
        m_repository.insert(object->getId(), object);
}

} // namespace zelmw
