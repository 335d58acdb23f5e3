#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/networkmap/ModelLock_p.h>
#include <zelmw/persistence/MapObjectDataHandler_p.h>

namespace zelmw {

using Locker = std::lock_guard<std::mutex>;

MapObjectFactory::MapObjectFactory() = default;
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
    if (mapObject)
        m_repository.insert(mapObject->getId(), mapObject);
}

MapObjectFactory::MapObjectPtr MapObjectFactory::getMapObject(int id)
{
    // Held while loading, so one id is never loaded twice at once.
    Locker lock(m_mutex);
    MapObjectPtr mapObject = m_repository.value(id);
    if (!mapObject) {
        mapObject = loadFlyweight(id);
        addToRepository(mapObject);
    }
    return mapObject;
}

MapObjectFactory::MapObjectPtr MapObjectFactory::getMapObject(const QString &name, bool create)
{
    // Writes take the model lock first: every store transaction begins inside it, so a
    // writer never holds this lock while it waits for a transaction that waits for it.
    const ModelLock modelLock;
    {
        Locker lock(m_mutex);
        for (const MapObjectPtr &cached : qAsConst(m_repository)) {
            if (cached->getName() == name)
                return cached;
        }
    }
    if (const MapObjectPtr loaded = loadFlyweight(name)) {
        Locker lock(m_mutex);
        addToRepository(loaded);
        return loaded;
    }
    return create ? createMapObject(name) : MapObjectPtr();
}

MapObjectFactory::MapObjectPtr MapObjectFactory::createMapObject(const QString &name)
{
    // Writes take the model lock first: every store transaction begins inside it, so a
    // writer never holds this lock while it waits for a transaction that waits for it.
    const ModelLock modelLock;
    const MapObjectDataHandler::RecordPtr record = MapObjectDataHandler().addRecord(name);
    if (!record)
        return MapObjectPtr();
    const MapObjectPtr mapObject(new MapObject(record));
    Locker lock(m_mutex);
    addToRepository(mapObject);
    return mapObject;
}

MapObjectFactory::MapObjectPtr MapObjectFactory::deleteMapObject(int id)
{
    // Writes take the model lock first: every store transaction begins inside it, so a
    // writer never holds this lock while it waits for a transaction that waits for it.
    const ModelLock modelLock;
    const MapObjectPtr mapObject = getMapObject(id);
    if (mapObject) {
        mapObject->deleteData();
        Locker lock(m_mutex);
        m_repository.remove(id);
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
    Locker lock(m_mutex);
    m_repository.clear();
}

bool MapObjectFactory::isEmpty() const
{
    Locker lock(m_mutex);
    return m_repository.isEmpty();
}

int MapObjectFactory::size() const
{
    Locker lock(m_mutex);
    return m_repository.size();
}

} // namespace zelmw
