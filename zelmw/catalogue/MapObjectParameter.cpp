#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/catalogue/MapObjectParameter.h>
#include <zelmw/persistence/MapObjectParameterDataHandler_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>

#include <stdexcept>

namespace zelmw {

MapObjectParameter::MapObjectParameter(
    const boost::shared_ptr<zeldb::MapObjectParametersRecord> &record)
    : m_record(record)
{
    if (!m_record)
        throw std::invalid_argument("MapObjectParameter setRecord failed");
}

int MapObjectParameter::getId() const
{
    return int(m_record->Id());
}

int MapObjectParameter::getMapObjectId() const
{
    return int(m_record->MapObjectId());
}

void MapObjectParameter::setMapObjectId(int id)
{
    m_record->setMapObjectId(unsigned(id));
}

QString MapObjectParameter::getName() const
{
    return m_record->Name();
}

void MapObjectParameter::setName(const QString &name)
{
    m_record->setName(name);
}

bool MapObjectParameter::getIsActive() const
{
    return m_record->IsActive();
}

void MapObjectParameter::setIsActive(bool isActive)
{
    m_record->setIsActive(isActive);
}

QDateTime MapObjectParameter::getCreateDate() const
{
    return m_record->CreateDate();
}

void MapObjectParameter::setCreateDate(const QDateTime &createDate)
{
    m_record->setCreateDate(createDate);
}

bool MapObjectParameter::saveData()
{
    UnitOfWork unit;
    return unit.finish(MapObjectParameterDataHandler().updateRecord(m_record));
}

bool MapObjectParameter::deleteData()
{
    UnitOfWork unit;
    return unit.finish(MapObjectParameterDataHandler().deleteRecord(unsigned(getId())));
}

boost::shared_ptr<MapObject> MapObjectParameter::getMapObject() const
{
    return MapObjectFactory::getInstance()->getMapObject(getMapObjectId());
}

} // namespace zelmw
