#ifndef ZELDB_DELETEDDEVICESRECORD_H
#define ZELDB_DELETEDDEVICESRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// What a user gave a device that left its map (its user-defined name, its login), kept by MAC
/// address so that it comes back with the device. A record is a plain value; see RecordBase
/// for its threads and copies.
class ZELDB_EXPORT DeletedDevicesRecord : public RecordBase
{
public:
    /// Field numbers, for SetValue and Value: the column order of the table. Stored files rely
    /// on them, so a number is never changed or reused; a new field goes at the end.
    enum FieldNumber {
        /// The id: Id() and setId().
        FieldId = 0,
        /// The field of NetworkMapId() and setNetworkMapId().
        FieldNetworkMapId = 1,
        /// The field of MacAddress() and setMacAddress().
        FieldMacAddress = 2,
        /// The field of Details() and setDetails().
        FieldDetails = 3,
        /// The field of CreateDate() and setCreateDate().
        FieldCreateDate = 4
    };

    /// An empty record: no field set, each reading as its type's empty value.
    DeletedDevicesRecord();

    /// The table's columns, made on first use and the same for every record of the table. Any
    /// thread may call it.
    static const TableSchema &schema();

    ///@{
    /// The map the device left (a NetworkMapsRecord).
    unsigned NetworkMapId() const { return number(FieldNetworkMapId); }
    void setNetworkMapId(unsigned value) { SetValue(FieldNetworkMapId, value); }
    ///@}
    ///@{
    /// The device's MAC address, in upper case.
    QString MacAddress() const { return text(FieldMacAddress); }
    void setMacAddress(const QString &value) { SetValue(FieldMacAddress, value); }
    ///@}
    ///@{
    /// The kept details as a JSON object of names to values.
    QString Details() const { return text(FieldDetails); }
    void setDetails(const QString &value) { SetValue(FieldDetails, value); }
    ///@}
    ///@{
    /// When the device left, in UTC.
    QDateTime CreateDate() const { return dateTime(FieldCreateDate); }
    void setCreateDate(const QDateTime &value) { SetValue(FieldCreateDate, value); }
    ///@}
};

} // namespace zeldb

#endif // ZELDB_DELETEDDEVICESRECORD_H
