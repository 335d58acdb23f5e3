#ifndef ZELDB_NETWORKMAPOBJECTSRECORD_H
#define ZELDB_NETWORKMAPOBJECTSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

class ZELDB_EXPORT NetworkMapObjectsRecord : public RecordBase
{
public:
    // Field numbers, for SetValue and Value: the column order of the table and the numbers
    // entities track their changes by. Stored files and callers rely on them, so a number is
    // never changed or reused; a new field goes at the end.
    enum FieldNumber {
        FieldId = 0,
        FieldNetworkMapId = 1,
        FieldMapObjectId = 2,
        FieldName = 3,
        FieldMacAddress = 4,
        FieldIpAddress = 5,
        FieldIsConnected = 6,
        FieldIsActive = 7,
        FieldIsHistoryObject = 8,
        FieldCreateDate = 9,
        FieldUpdateDate = 10
    };

    NetworkMapObjectsRecord();

    static const TableSchema &schema();

    unsigned NetworkMapId() const { return number(FieldNetworkMapId); }
    void setNetworkMapId(unsigned value) { SetValue(FieldNetworkMapId, value); }
    unsigned MapObjectId() const { return number(FieldMapObjectId); }
    void setMapObjectId(unsigned value) { SetValue(FieldMapObjectId, value); }
    QString Name() const { return text(FieldName); }
    void setName(const QString &value) { SetValue(FieldName, value); }
    QString MacAddress() const { return text(FieldMacAddress); }
    void setMacAddress(const QString &value) { SetValue(FieldMacAddress, value); }
    QString IpAddress() const { return text(FieldIpAddress); }
    void setIpAddress(const QString &value) { SetValue(FieldIpAddress, value); }
    bool IsConnected() const { return flag(FieldIsConnected); }
    void setIsConnected(bool value) { SetValue(FieldIsConnected, value); }
    bool IsActive() const { return flag(FieldIsActive); }
    void setIsActive(bool value) { SetValue(FieldIsActive, value); }
    bool IsHistoryObject() const { return flag(FieldIsHistoryObject); }
    void setIsHistoryObject(bool value) { SetValue(FieldIsHistoryObject, value); }
    QDateTime CreateDate() const { return dateTime(FieldCreateDate); }
    void setCreateDate(const QDateTime &value) { SetValue(FieldCreateDate, value); }
    QDateTime UpdateDate() const { return dateTime(FieldUpdateDate); }
    void setUpdateDate(const QDateTime &value) { SetValue(FieldUpdateDate, value); }
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPOBJECTSRECORD_H
