#include <zelmw/persistence/MapObjectParameterDataHandler_p.h>

#include <QDateTime>

namespace zelmw {

using zeldb::MapObjectParametersRecord;

MapObjectParameterDataHandler::MapObjectParameterDataHandler()
    : m_table(getMapObjectParametersTable())
{ }

MapObjectParameterDataHandler::RecordPtr MapObjectParameterDataHandler::getRecord(unsigned id)
{
    return getById<MapObjectParametersRecord>(m_table, id);
}

MapObjectParameterDataHandler::RecordPtr
MapObjectParameterDataHandler::addRecord(unsigned mapObjectId, const QString &name)
{
    if (name.isEmpty())
        return RecordPtr();
    MapObjectParametersRecord record;
    record.setMapObjectId(mapObjectId);
    record.setName(name);
    record.setIsActive(true);
    record.setCreateDate(QDateTime::currentDateTime());
    return add(m_table, record);
}

QVector<MapObjectParameterDataHandler::RecordPtr>
MapObjectParameterDataHandler::getRecordsByMapObjectId(unsigned mapObjectId)
{
    zeldb::MapObjectParametersSelectionCriteria criteria;
    criteria.MapObjectIdEqualsTo(mapObjectId);
    return getWhere<MapObjectParametersRecord>(m_table, criteria);
}

bool MapObjectParameterDataHandler::updateRecord(const RecordPtr &record)
{
    if (!record)
        return false;
    return withOpenDatabase([&] { return m_table->Update(*record); }, false);
}

bool MapObjectParameterDataHandler::deleteRecord(unsigned id)
{
    return deleteById(m_table, id);
}

} // namespace zelmw
