#ifndef ZELDB_MAPOBJECTSRECORD_H
#define ZELDB_MAPOBJECTSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

class ZELDB_EXPORT MapObjectsRecord : public RecordBase
{
public:
    // Field numbers, for SetValue and Value: the column order of the table and the numbers
    // entities track their changes by. Stored files and callers rely on them, so a number is
    // never changed or reused; a new field goes at the end.
    enum FieldNumber {
        FieldId = 0,
        FieldName = 1,
        FieldIsActive = 2,
        FieldShowOnMap = 3,
        FieldIconId = 4,
        FieldCreateDate = 5,
        FieldUpdateDate = 6
    };

    MapObjectsRecord();

    static const TableSchema &schema();

    QString Name() const { return text(FieldName); }
    void setName(const QString &value) { SetValue(FieldName, value); }
    bool IsActive() const { return flag(FieldIsActive); }
    void setIsActive(bool value) { SetValue(FieldIsActive, value); }
    bool ShowOnMap() const { return flag(FieldShowOnMap); }
    void setShowOnMap(bool value) { SetValue(FieldShowOnMap, value); }
    QString IconId() const { return text(FieldIconId); }
    void setIconId(const QString &value) { SetValue(FieldIconId, value); }
    QDateTime CreateDate() const { return dateTime(FieldCreateDate); }
    void setCreateDate(const QDateTime &value) { SetValue(FieldCreateDate, value); }
    QDateTime UpdateDate() const { return dateTime(FieldUpdateDate); }
    void setUpdateDate(const QDateTime &value) { SetValue(FieldUpdateDate, value); }
};

} // namespace zeldb

#endif // ZELDB_MAPOBJECTSRECORD_H
