#ifndef ZELDB_NETWORKMAPSRECORD_H
#define ZELDB_NETWORKMAPSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

class ZELDB_EXPORT NetworkMapsRecord : public RecordBase
{
public:
    // Field numbers, for SetValue and Value: the column order of the table and the numbers
    // entities track their changes by. Stored files and callers rely on them, so a number is
    // never changed or reused; a new field goes at the end.
    enum FieldNumber {
        FieldId = 0,
        FieldSerial = 1,
        FieldName = 2,
        FieldMasterDeviceId = 3,
        FieldLocalZelPcId = 4,
        FieldNic = 5,
        FieldIsActive = 6,
        FieldIsDefault = 7,
        FieldIsHistoryMap = 8,
        FieldIsInUse = 9,
        FieldCreateDate = 10,
        FieldUpdateDate = 11
    };

    NetworkMapsRecord();

    static const TableSchema &schema();

    QString Serial() const { return text(FieldSerial); }
    void setSerial(const QString &value) { SetValue(FieldSerial, value); }
    QString Name() const { return text(FieldName); }
    void setName(const QString &value) { SetValue(FieldName, value); }
    unsigned MasterDeviceId() const { return number(FieldMasterDeviceId); }
    void setMasterDeviceId(unsigned value) { SetValue(FieldMasterDeviceId, value); }
    unsigned LocalZelPcId() const { return number(FieldLocalZelPcId); }
    void setLocalZelPcId(unsigned value) { SetValue(FieldLocalZelPcId, value); }
    QString Nic() const { return text(FieldNic); }
    void setNic(const QString &value) { SetValue(FieldNic, value); }
    bool IsActive() const { return flag(FieldIsActive); }
    void setIsActive(bool value) { SetValue(FieldIsActive, value); }
    bool IsDefault() const { return flag(FieldIsDefault); }
    void setIsDefault(bool value) { SetValue(FieldIsDefault, value); }
    bool IsHistoryMap() const { return flag(FieldIsHistoryMap); }
    void setIsHistoryMap(bool value) { SetValue(FieldIsHistoryMap, value); }
    bool IsInUse() const { return flag(FieldIsInUse); }
    void setIsInUse(bool value) { SetValue(FieldIsInUse, value); }
    QDateTime CreateDate() const { return dateTime(FieldCreateDate); }
    void setCreateDate(const QDateTime &value) { SetValue(FieldCreateDate, value); }
    QDateTime UpdateDate() const { return dateTime(FieldUpdateDate); }
    void setUpdateDate(const QDateTime &value) { SetValue(FieldUpdateDate, value); }
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPSRECORD_H
