#include <zelmw/catalogue/MapObject.h>
#include <zelmw/persistence/MapObjectDataHandler_p.h>
#include <zelmw/persistence/MapObjectParameterDataHandler_p.h>

#include <stdexcept>

namespace zelmw {

using zeldb::MapObjectsRecord;
typedef std::lock_guard<std::recursive_mutex> Locker;

MapObject::MapObject(const boost::shared_ptr<MapObjectsRecord> &record)
{
    setRecord(record);
    loadParams();
}

MapObject::MapObject(const MapObject &other)
{
    Locker lock(other.m_mutex);
    m_record = other.m_record;
    m_dirtyFields = other.m_dirtyFields;
    m_parameters = other.m_parameters;
}

MapObject &MapObject::operator=(const MapObject &other)
{
    if (this != &other) {
        std::scoped_lock lock(m_mutex, other.m_mutex);
        m_record = other.m_record;
        m_dirtyFields = other.m_dirtyFields;
        m_parameters = other.m_parameters;
    }
    return *this;
}

void MapObject::setRecord(const boost::shared_ptr<MapObjectsRecord> &record)
{
    if (!record)
        throw std::invalid_argument("MapObject setRecord failed");
    m_record = record;
}

int MapObject::getId() const
{
    Locker lock(m_mutex);
    return int(m_record->Id());
}

QString MapObject::getName() const
{
    Locker lock(m_mutex);
    return m_record->Name();
}

bool MapObject::getIsActive() const
{
    Locker lock(m_mutex);
    return m_record->IsActive();
}

bool MapObject::getShowOnMap() const
{
    Locker lock(m_mutex);
    return m_record->ShowOnMap();
}

QDateTime MapObject::getCreateDate() const
{
    Locker lock(m_mutex);
    return m_record->CreateDate();
}

void MapObject::setName(const QString &name)
{
    Locker lock(m_mutex);
    m_dirtyFields.set(*m_record, MapObjectsRecord::FieldName, name);
}

void MapObject::setIsActive(bool isActive)
{
    Locker lock(m_mutex);
    m_dirtyFields.set(*m_record, MapObjectsRecord::FieldIsActive, isActive);
}

void MapObject::setShowOnMap(bool showOnMap)
{
    Locker lock(m_mutex);
    m_dirtyFields.set(*m_record, MapObjectsRecord::FieldShowOnMap, showOnMap);
}

void MapObject::setCreateDate(const QDateTime &createDate)
{
    Locker lock(m_mutex);
    m_record->setCreateDate(createDate);
}

MapObject::ParameterPtr MapObject::getParameter(int id) const
{
    Locker lock(m_mutex);
    return m_parameters.get(id);
}

MapObject::ParameterPtr MapObject::getParameter(const QString &name, bool create)
{
    Locker lock(m_mutex);
    const ParameterPtr parameter = m_parameters.find(name);
    if (parameter || !create)
        return parameter;
    return createParameter(name);
}

QList<MapObject::ParameterPtr> MapObject::getParameterList() const
{
    Locker lock(m_mutex);
    return m_parameters.values();
}

bool MapObject::hasParameter(const QString &name) const
{
    Locker lock(m_mutex);
    return m_parameters.containsKey(name);
}

bool MapObject::hasParameter(int id) const
{
    Locker lock(m_mutex);
    return m_parameters.containsId(id);
}

MapObject::ParameterPtr MapObject::createParameter(const QString &name)
{
    // Held across the insert, so two threads cannot store the same name twice.
    Locker lock(m_mutex);
    if (m_parameters.containsKey(name))
        return ParameterPtr();
    const MapObjectParameterDataHandler::RecordPtr record
        = MapObjectParameterDataHandler().addRecord(m_record->Id(), name);
    if (!record)
        return ParameterPtr();
    const ParameterPtr parameter(new MapObjectParameter(record));
    addParameter(parameter);
    return parameter;
}

QList<MapObject::ParameterPtr> MapObject::createParameters(const QList<QString> &names)
{
    Locker lock(m_mutex);
    QList<ParameterPtr> created;
    for (const QString &name : names) {
        if (const ParameterPtr parameter = createParameter(name))
            created.append(parameter);
    }
    return created;
}

bool MapObject::deleteParameter(const QString &name)
{
    Locker lock(m_mutex);
    const ParameterPtr parameter = getParameter(name, true);
    if (!parameter || !parameter->deleteData())
        return false;
    m_parameters.removeKey(name);
    return true;
}

bool MapObject::saveData()
{
    Locker lock(m_mutex);
    // The handler stamps the update date.
    return m_dirtyFields.save<MapObjectDataHandler>(*m_record);
}

bool MapObject::deleteData()
{
    Locker lock(m_mutex);
    return m_dirtyFields.remove<MapObjectDataHandler>(*m_record);
}

void MapObject::loadParams()
{
    m_parameters.clear();
    const QList<MapObjectParameterDataHandler::RecordPtr> records
        = MapObjectParameterDataHandler().getRecordsByMapObjectId(m_record->Id());
    for (const MapObjectParameterDataHandler::RecordPtr &record : records)
        addParameter(ParameterPtr(new MapObjectParameter(record)));
}

void MapObject::addParameter(const ParameterPtr &parameter)
{
    m_parameters.add(parameter->getId(), parameter->getName(), parameter);
}

} // namespace zelmw
