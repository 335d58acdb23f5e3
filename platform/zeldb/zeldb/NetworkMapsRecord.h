#ifndef ZELDB_NETWORKMAPSRECORD_H
#define ZELDB_NETWORKMAPSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// One stored network map: the picture of one home network, taken behind its gateway. A record
/// is a plain value; see RecordBase for its threads and copies.
class ZELDB_EXPORT NetworkMapsRecord : public RecordBase
{
public:
    /// Field numbers, for SetValue and Value: the column order of the table and the numbers
    /// entities track their changes by. Stored files and callers rely on them, so a number is
    /// never changed or reused; a new field goes at the end.
    enum FieldNumber {
        /// The id: Id() and setId().
        FieldId = 0,
        /// The field of Serial() and setSerial().
        FieldSerial = 1,
        /// The field of Name() and setName().
        FieldName = 2,
        /// The field of MasterDeviceId() and setMasterDeviceId().
        FieldMasterDeviceId = 3,
        /// The field of LocalZelPcId() and setLocalZelPcId().
        FieldLocalZelPcId = 4,
        /// The field of Nic() and setNic().
        FieldNic = 5,
        /// The field of IsActive() and setIsActive().
        FieldIsActive = 6,
        /// The field of IsDefault() and setIsDefault().
        FieldIsDefault = 7,
        /// The field of IsHistoryMap() and setIsHistoryMap().
        FieldIsHistoryMap = 8,
        /// The field of IsInUse() and setIsInUse().
        FieldIsInUse = 9,
        /// The field of CreateDate() and setCreateDate().
        FieldCreateDate = 10,
        /// The field of UpdateDate() and setUpdateDate().
        FieldUpdateDate = 11
    };

    /// An empty record: no field set, each reading as its type's empty value.
    NetworkMapsRecord();

    /// The table's columns, made on first use and the same for every record of the table. Any
    /// thread may call it.
    static const TableSchema &schema();

    ///@{
    /// @brief The map's key: "@MAC:" followed by its gateway's MAC address, as the library
    /// writes it.
    QString Serial() const { return text(FieldSerial); }
    void setSerial(const QString &value) { SetValue(FieldSerial, value); }
    ///@}
    ///@{
    /// The map's name.
    QString Name() const { return text(FieldName); }
    void setName(const QString &value) { SetValue(FieldName, value); }
    ///@}
    ///@{
    /// The id of the map's gateway device (a NetworkMapObjectsRecord); 0 while it has none.
    unsigned MasterDeviceId() const { return number(FieldMasterDeviceId); }
    void setMasterDeviceId(unsigned value) { SetValue(FieldMasterDeviceId, value); }
    ///@}
    ///@{
    /// The id of the device that is the PC running the application (a NetworkMapObjectsRecord);
    /// 0 while it has none.
    unsigned LocalZelPcId() const { return number(FieldLocalZelPcId); }
    void setLocalZelPcId(unsigned value) { SetValue(FieldLocalZelPcId, value); }
    ///@}
    ///@{
    /// The GUID of the network interface the map was taken on.
    QString Nic() const { return text(FieldNic); }
    void setNic(const QString &value) { SetValue(FieldNic, value); }
    ///@}
    ///@{
    /// Flags set true on every map the library creates; the library itself does not act on them
    /// (the configuration names the map in use).
    bool IsActive() const { return flag(FieldIsActive); }
    void setIsActive(bool value) { SetValue(FieldIsActive, value); }
    bool IsDefault() const { return flag(FieldIsDefault); }
    void setIsDefault(bool value) { SetValue(FieldIsDefault, value); }
    bool IsHistoryMap() const { return flag(FieldIsHistoryMap); }
    void setIsHistoryMap(bool value) { SetValue(FieldIsHistoryMap, value); }
    bool IsInUse() const { return flag(FieldIsInUse); }
    void setIsInUse(bool value) { SetValue(FieldIsInUse, value); }
    ///@}
    ///@{
    /// When the row was added: stamped by Add with the local time unless set; invalid for a
    /// record not read or added.
    QDateTime CreateDate() const { return dateTime(FieldCreateDate); }
    void setCreateDate(const QDateTime &value) { SetValue(FieldCreateDate, value); }
    ///@}
    ///@{
    /// When the row was last updated: stamped by Update with the local time unless set; invalid
    /// until the row's first update.
    QDateTime UpdateDate() const { return dateTime(FieldUpdateDate); }
    void setUpdateDate(const QDateTime &value) { SetValue(FieldUpdateDate, value); }
    ///@}
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPSRECORD_H
