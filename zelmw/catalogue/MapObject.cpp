#include <zelmw/catalogue/MapObject.h>

#include <zelmw/networkmap/ModelLock_p.h>
#include <zelmw/persistence/DirtyFields_p.h>
#include <zelmw/persistence/MapObjectDataHandler_p.h>
#include <zelmw/persistence/MapObjectParameterDataHandler_p.h>
#include <zelmw/vocabulary/TwoKeyRegistry_p.h>

#include <optional>
#include <stdexcept>

namespace zelmw {

using zeldb::MapObjectsRecord;
using Lock = std::lock_guard<std::recursive_mutex>;

class MapObject::Implementation
{
public:
    mutable std::recursive_mutex m_mutex;
    boost::shared_ptr<zeldb::MapObjectsRecord> m_record;
    DirtyFields m_dirtyFields;
    TwoKeyRegistry<QString, MapObjectParameter> m_parameters;
};

MapObject::MapObject(const boost::shared_ptr<MapObjectsRecord> &record)
    : d(new Implementation)
{
    setRecord(record);
    loadParams();
}

MapObject::MapObject(const MapObject &other)
    : d(new Implementation)
{
    Lock lock(other.d->m_mutex);
    d->m_record = other.d->m_record;
    d->m_dirtyFields = other.d->m_dirtyFields;
    d->m_parameters = other.d->m_parameters;
}

MapObject::~MapObject() = default;

MapObject &MapObject::operator=(const MapObject &other)
{
    if (this != &other) {
        std::scoped_lock lock(d->m_mutex, other.d->m_mutex);
        d->m_record = other.d->m_record;
        d->m_dirtyFields = other.d->m_dirtyFields;
        d->m_parameters = other.d->m_parameters;
    }
    return *this;
}

void MapObject::setRecord(const boost::shared_ptr<MapObjectsRecord> &record)
{
    if (!record)
        throw std::invalid_argument("MapObject setRecord failed");
    d->m_record = record;
}

int MapObject::getId() const
{
    Lock lock(d->m_mutex);
    return int(d->m_record->Id());
}

QString MapObject::getName() const
{
    Lock lock(d->m_mutex);
    return d->m_record->Name();
}

bool MapObject::getIsActive() const
{
    Lock lock(d->m_mutex);
    return d->m_record->IsActive();
}

bool MapObject::getShowOnMap() const
{
    Lock lock(d->m_mutex);
    return d->m_record->ShowOnMap();
}

QDateTime MapObject::getCreateDate() const
{
    Lock lock(d->m_mutex);
    return d->m_record->CreateDate();
}

void MapObject::setName(const QString &name)
{
    Lock lock(d->m_mutex);
    d->m_dirtyFields.set(*d->m_record, MapObjectsRecord::FieldName, name);
}

void MapObject::setIsActive(bool isActive)
{
    Lock lock(d->m_mutex);
    d->m_dirtyFields.set(*d->m_record, MapObjectsRecord::FieldIsActive, isActive);
}

void MapObject::setShowOnMap(bool showOnMap)
{
    Lock lock(d->m_mutex);
    d->m_dirtyFields.set(*d->m_record, MapObjectsRecord::FieldShowOnMap, showOnMap);
}

void MapObject::setCreateDate(const QDateTime &createDate)
{
    Lock lock(d->m_mutex);
    d->m_record->setCreateDate(createDate);
}

MapObject::ParameterPtr MapObject::getParameter(int id) const
{
    Lock lock(d->m_mutex);
    return d->m_parameters.get(id);
}

MapObject::ParameterPtr MapObject::getParameter(const QString &name, bool create)
{
    // A lookup that may write takes the model lock before this object's own, as writes do.
    std::optional<ModelLock> modelLock;
    if (create)
        modelLock.emplace();
    Lock lock(d->m_mutex);
    const ParameterPtr parameter = d->m_parameters.find(name);
    if (parameter || !create)
        return parameter;
    return createParameter(name);
}

QList<MapObject::ParameterPtr> MapObject::getParameterList() const
{
    Lock lock(d->m_mutex);
    return d->m_parameters.values();
}

bool MapObject::hasParameter(const QString &name) const
{
    Lock lock(d->m_mutex);
    return d->m_parameters.containsKey(name);
}

bool MapObject::hasParameter(int id) const
{
    Lock lock(d->m_mutex);
    return d->m_parameters.containsId(id);
}

MapObject::ParameterPtr MapObject::createParameter(const QString &name)
{
    // The model lock first, as every write (see ModelLock).
    const ModelLock modelLock;
    // Held across the insert, so two threads cannot store the same name twice.
    Lock lock(d->m_mutex);
    if (d->m_parameters.containsKey(name))
        return ParameterPtr();
    const MapObjectParameterDataHandler::RecordPtr record
        = MapObjectParameterDataHandler().addRecord(d->m_record->Id(), name);
    if (!record)
        return ParameterPtr();
    const ParameterPtr parameter(new MapObjectParameter(record));
    addParameter(parameter);
    return parameter;
}

QList<MapObject::ParameterPtr> MapObject::createParameters(const QList<QString> &names)
{
    // The model lock first, as every write (see ModelLock).
    const ModelLock modelLock;
    Lock lock(d->m_mutex);
    QList<ParameterPtr> created;
    for (const QString &name : names) {
        if (const ParameterPtr parameter = createParameter(name))
            created.append(parameter);
    }
    return created;
}

bool MapObject::deleteParameter(const QString &name)
{
    // The model lock first, as every write (see ModelLock).
    const ModelLock modelLock;
    Lock lock(d->m_mutex);
    const ParameterPtr parameter = getParameter(name, true);
    if (!parameter || !parameter->deleteData())
        return false;
    d->m_parameters.removeKey(name);
    return true;
}

bool MapObject::saveData()
{
    // The model lock first, as every write (see ModelLock).
    const ModelLock modelLock;
    Lock lock(d->m_mutex);
    // The table stamps a missing update date.
    return d->m_dirtyFields.save<MapObjectDataHandler>(*d->m_record);
}

bool MapObject::deleteData()
{
    // The model lock first, as every write (see ModelLock).
    const ModelLock modelLock;
    Lock lock(d->m_mutex);
    return d->m_dirtyFields.remove<MapObjectDataHandler>(*d->m_record);
}

void MapObject::loadParams()
{
    d->m_parameters.clear();
    const QVector<MapObjectParameterDataHandler::RecordPtr> records
        = MapObjectParameterDataHandler().getRecordsByMapObjectId(d->m_record->Id());
    for (const MapObjectParameterDataHandler::RecordPtr &record : records)
        addParameter(ParameterPtr(new MapObjectParameter(record)));
}

void MapObject::addParameter(const ParameterPtr &parameter)
{
    d->m_parameters.add(parameter->getId(), parameter->getName(), parameter);
}

} // namespace zelmw
