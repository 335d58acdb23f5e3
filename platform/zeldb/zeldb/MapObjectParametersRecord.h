#ifndef ZELDB_MAPOBJECTPARAMETERSRECORD_H
#define ZELDB_MAPOBJECTPARAMETERSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

class ZELDB_EXPORT MapObjectParametersRecord : public RecordBase
{
public:
    // Field numbers, for SetValue and Value: the column order of the table and the numbers
    // entities track their changes by. Stored files and callers rely on them, so a number is
    // never changed or reused; a new field goes at the end.
    enum FieldNumber {
        FieldId = 0,
        FieldMapObjectId = 1,
        FieldName = 2,
        FieldIsActive = 3,
        FieldCreateDate = 4
    };

    MapObjectParametersRecord();

    static const TableSchema &schema();

    unsigned MapObjectId() const { return number(FieldMapObjectId); }
    void setMapObjectId(unsigned value) { SetValue(FieldMapObjectId, value); }
    QString Name() const { return text(FieldName); }
    void setName(const QString &value) { SetValue(FieldName, value); }
    bool IsActive() const { return flag(FieldIsActive); }
    void setIsActive(bool value) { SetValue(FieldIsActive, value); }
    QDateTime CreateDate() const { return dateTime(FieldCreateDate); }
    void setCreateDate(const QDateTime &value) { SetValue(FieldCreateDate, value); }
};

} // namespace zeldb

#endif // ZELDB_MAPOBJECTPARAMETERSRECORD_H
