#include <zelmw/catalogue/MapObject.h>

#include <zelmw/persistence/DirtyFields_p.h>
#include <zelmw/persistence/MapObjectDataHandler_p.h>
#include <zelmw/persistence/MapObjectParameterDataHandler_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/TwoKeyRegistry_p.h>

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

    ~Implementation() { UnitOfWork::forget(this); }

    // Before a change, under the object's lock: the unit of work restores the row's fields
    // and the parameters if it fails.
    void remember()
    {
        UnitOfWork::remember(this, [this] {
            return
                [this, record = *m_record, dirtyFields = m_dirtyFields, parameters = m_parameters] {
                    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
                    *m_record = record;
                    m_dirtyFields = dirtyFields;
                    m_parameters = parameters;
                };
        });
    }
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
    d->remember();
    d->m_dirtyFields.set(*d->m_record, MapObjectsRecord::FieldName, name);
}

void MapObject::setIsActive(bool isActive)
{
    Lock lock(d->m_mutex);
    d->remember();
    d->m_dirtyFields.set(*d->m_record, MapObjectsRecord::FieldIsActive, isActive);
}

void MapObject::setShowOnMap(bool showOnMap)
{
    Lock lock(d->m_mutex);
    d->remember();
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
    if (!create) {
        Lock lock(d->m_mutex);
        return d->m_parameters.find(name);
    }
    // A lookup that may write is a unit, which takes the model lock before this object's own.
    UnitOfWork unit;
    Lock lock(d->m_mutex);
    if (const ParameterPtr parameter = d->m_parameters.find(name))
        return parameter;
    return unit.finish(createParameter(name));
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
    UnitOfWork unit;
    // Held across the insert, so two threads cannot store the same name twice.
    Lock lock(d->m_mutex);
    if (d->m_parameters.containsKey(name))
        return ParameterPtr();
    const MapObjectParameterDataHandler::RecordPtr record
        = MapObjectParameterDataHandler().addRecord(d->m_record->Id(), name);
    if (!record)
        return ParameterPtr();
    const ParameterPtr parameter(new MapObjectParameter(record));
    d->remember();
    addParameter(parameter);
    return unit.finish(parameter);
}

QList<MapObject::ParameterPtr> MapObject::createParameters(const QList<QString> &names)
{
    UnitOfWork unit;
    Lock lock(d->m_mutex);
    QList<ParameterPtr> created;
    for (const QString &name : names) {
        if (const ParameterPtr parameter = createParameter(name))
            created.append(parameter);
    }
    return unit.finish(created);
}

bool MapObject::deleteParameter(const QString &name)
{
    UnitOfWork unit;
    Lock lock(d->m_mutex);
    const ParameterPtr parameter = getParameter(name, true);
    if (!parameter || !parameter->deleteData())
        return false;
    d->remember();
    d->m_parameters.removeKey(name);
    return unit.finish(true);
}

bool MapObject::saveData()
{
    UnitOfWork unit;
    Lock lock(d->m_mutex);
    d->remember();
    // The table stamps a missing update date.
    return unit.finish(d->m_dirtyFields.save<MapObjectDataHandler>(*d->m_record));
}

bool MapObject::deleteData()
{
    UnitOfWork unit;
    Lock lock(d->m_mutex);
    d->remember();
    return unit.finish(d->m_dirtyFields.remove<MapObjectDataHandler>(*d->m_record));
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
