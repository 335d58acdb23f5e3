#ifndef ZELDB_NETWORKMAPOBJECTDETAILSRECORD_H
#define ZELDB_NETWORKMAPOBJECTDETAILSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

class ZELDB_EXPORT NetworkMapObjectDetailsRecord : public RecordBase
{
public:
    // Field numbers, for SetValue and Value: the column order of the table and the numbers
    // entities track their changes by. Stored files and callers rely on them, so a number is
    // never changed or reused; a new field goes at the end.
    enum FieldNumber {
        FieldId = 0,
        FieldNetworkMapObjectId = 1,
        FieldMapObjectParameterId = 2,
        FieldValue = 3,
        FieldCreateDate = 4,
        FieldUpdateDate = 5
    };

    NetworkMapObjectDetailsRecord();

    static const TableSchema &schema();

    unsigned NetworkMapObjectId() const { return number(FieldNetworkMapObjectId); }
    void setNetworkMapObjectId(unsigned value) { SetValue(FieldNetworkMapObjectId, value); }
    unsigned MapObjectParameterId() const { return number(FieldMapObjectParameterId); }
    void setMapObjectParameterId(unsigned value) { SetValue(FieldMapObjectParameterId, value); }
    QString Value() const { return text(FieldValue); }
    void setValue(const QString &value) { SetValue(FieldValue, value); }
    QDateTime CreateDate() const { return dateTime(FieldCreateDate); }
    void setCreateDate(const QDateTime &value) { SetValue(FieldCreateDate, value); }
    QDateTime UpdateDate() const { return dateTime(FieldUpdateDate); }
    void setUpdateDate(const QDateTime &value) { SetValue(FieldUpdateDate, value); }
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPOBJECTDETAILSRECORD_H
