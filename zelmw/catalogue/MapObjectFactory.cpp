#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/persistence/MapObjectDataHandler_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/EntityCache_p.h>

#include <mutex>

namespace zelmw {

using Lock = std::lock_guard<std::mutex>;

class MapObjectFactory::Implementation
{
public:
    mutable std::mutex mutex;
    EntityCache<MapObject, std::mutex> cache { &mutex };
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
    // A lookup that may create the type is a unit of its own, or part of its caller's.
    UnitOfWork unit;
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
    return unit.finish(create ? createMapObject(name) : MapObjectPtr());
}

MapObjectFactory::MapObjectPtr MapObjectFactory::createMapObject(const QString &name)
{
    UnitOfWork unit;
    const MapObjectDataHandler::RecordPtr record = MapObjectDataHandler().addRecord(name);
    if (!record)
        return MapObjectPtr();
    const MapObjectPtr mapObject(new MapObject(record));
    {
        Lock lock(d->mutex);
        addToRepository(mapObject);
    }
    return unit.finish(mapObject);
}

MapObjectFactory::MapObjectPtr MapObjectFactory::deleteMapObject(int id)
{
    UnitOfWork unit;
    const MapObjectPtr mapObject = getMapObject(id);
    if (!mapObject)
        return mapObject;
    // A failed delete puts the type back and answers null.
    mapObject->deleteData();
    {
        Lock lock(d->mutex);
        d->cache.remove(id);
    }
    return unit.finish(mapObject);
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
