#include <zelmw/persistence/MapObjectDataHandler_p.h>

#include <QDateTime>

namespace zelmw {

using zeldb::MapObjectsRecord;

MapObjectDataHandler::RecordPtr MapObjectDataHandler::getRecord(unsigned id)
{
    return getById<MapObjectsRecord>(getMapObjectsTable(), id);
}

MapObjectDataHandler::RecordPtr MapObjectDataHandler::getRecordByName(const QString &name)
{
    zeldb::MapObjectsSelectionCriteria criteria;
    criteria.NameEqualsTo(name);
    return getFirstWhere<MapObjectsRecord>(getMapObjectsTable(), criteria);
}

MapObjectDataHandler::RecordPtr MapObjectDataHandler::addRecord(const QString &name)
{
    if (name.isEmpty())
        return RecordPtr();
    MapObjectsRecord record;
    record.setName(name);
    record.setIsActive(true);
    record.setShowOnMap(true);
    record.setIconId(QStringLiteral(" "));
    record.setCreateDate(QDateTime::currentDateTime());
    return add(getMapObjectsTable(), record);
}

bool MapObjectDataHandler::updateRecord(const QMap<int, QVariant> &fields)
{
    // The table stamps the update date.
    return updateFields<MapObjectsRecord>(getMapObjectsTable(), fields);
}

bool MapObjectDataHandler::deleteRecord(unsigned id)
{
    return deleteById(getMapObjectsTable(), id);
}

} // namespace zelmw
