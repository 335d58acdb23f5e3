#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/networkmap/ModelLock_p.h>
#include <zelmw/persistence/MapObjectDataHandler_p.h>
#include <zelmw/vocabulary/EntityCache_p.h>

#include <mutex>

namespace zelmw {

using Lock = std::lock_guard<std::mutex>;

class MapObjectFactory::Implementation
{
public:
    mutable std::mutex mutex;
    EntityCache<MapObject> cache;
};

MapObjectFactory::MapObjectFactory()
    : d(new Implementation)
{ }

MapObjectFactory::~MapObjectFactory() = default;

boost::shared_ptr<MapObjectFactory> MapObjectFactory::getInstance()
{
    static const boost::shared_ptr<MapObjectFactory> instance(new MapObjectFactory);
    return instance;
}

MapObjectFactory::MapObjectPtr MapObjectFactory::loadFlyweight(int id)
{
    const MapObjectDataHandler::RecordPtr record = MapObjectDataHandler().getRecord(unsigned(id));
    return record ? MapObjectPtr(new MapObject(record)) : MapObjectPtr();
}

MapObjectFactory::MapObjectPtr MapObjectFactory::loadFlyweight(const QString &name)
{
    const MapObjectDataHandler::RecordPtr record = MapObjectDataHandler().getRecordByName(name);
    return record ? MapObjectPtr(new MapObject(record)) : MapObjectPtr();
}

void MapObjectFactory::addToRepository(const MapObjectPtr &mapObject)
{
    d->cache.add(mapObject);
}

MapObjectFactory::MapObjectPtr MapObjectFactory::getMapObject(int id)
{
    // Held while loading, so one id is never loaded twice at once.
    Lock lock(d->mutex);
    return d->cache.getOrLoad(id, [&] { return loadFlyweight(id); });
}

MapObjectFactory::MapObjectPtr MapObjectFactory::getMapObject(const QString &name, bool create)
{
    // The model lock first, as every write (see ModelLock).
    const ModelLock modelLock;
    {
        Lock lock(d->mutex);
        if (const MapObjectPtr cached
            = d->cache.findFirst([&](const MapObject &type) { return type.getName() == name; }))
            return cached;
    }
    if (const MapObjectPtr loaded = loadFlyweight(name)) {
        Lock lock(d->mutex);
        addToRepository(loaded);
        return loaded;
    }
    return create ? createMapObject(name) : MapObjectPtr();
}

MapObjectFactory::MapObjectPtr MapObjectFactory::createMapObject(const QString &name)
{
    // The model lock first, as every write (see ModelLock).
    const ModelLock modelLock;
    const MapObjectDataHandler::RecordPtr record = MapObjectDataHandler().addRecord(name);
    if (!record)
        return MapObjectPtr();
    const MapObjectPtr mapObject(new MapObject(record));
    Lock lock(d->mutex);
    addToRepository(mapObject);
    return mapObject;
}

MapObjectFactory::MapObjectPtr MapObjectFactory::deleteMapObject(int id)
{
    // The model lock first, as every write (see ModelLock).
    const ModelLock modelLock;
    const MapObjectPtr mapObject = getMapObject(id);
    if (mapObject) {
        mapObject->deleteData();
        Lock lock(d->mutex);
        d->cache.remove(id);
    }
    return mapObject;
}

bool MapObjectFactory::exists(int id)
{
    return bool(getMapObject(id));
}

bool MapObjectFactory::exists(const QString &name)
{
    return bool(getMapObject(name, true));
}

void MapObjectFactory::clear()
{
    Lock lock(d->mutex);
    d->cache.clear();
}

bool MapObjectFactory::isEmpty() const
{
    Lock lock(d->mutex);
    return d->cache.isEmpty();
}

int MapObjectFactory::size() const
{
    Lock lock(d->mutex);
    return d->cache.size();
}

} // namespace zelmw
