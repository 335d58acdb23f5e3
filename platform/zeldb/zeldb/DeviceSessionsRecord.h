#ifndef ZELDB_DEVICESESSIONSRECORD_H
#define ZELDB_DEVICESESSIONSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// One stretch of time a device was connected to a map, the device known by its MAC address
/// so that its history outlives a type change or a deletion. A record is a plain value; see
/// RecordBase for its threads and copies.
class ZELDB_EXPORT DeviceSessionsRecord : public RecordBase
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
        /// The field of ConnectedFrom() and setConnectedFrom().
        FieldConnectedFrom = 3,
        /// The field of ConnectedTo() and setConnectedTo().
        FieldConnectedTo = 4,
        /// The field of IsOpen() and setIsOpen().
        FieldIsOpen = 5
    };

    /// An empty record: no field set, each reading as its type's empty value.
    DeviceSessionsRecord();

    /// The table's columns, made on first use and the same for every record of the table. Any
    /// thread may call it.
    static const TableSchema &schema();

    ///@{
    /// The map the device was connected to (a NetworkMapsRecord).
    unsigned NetworkMapId() const { return number(FieldNetworkMapId); }
    void setNetworkMapId(unsigned value) { SetValue(FieldNetworkMapId, value); }
    ///@}
    ///@{
    /// The device's MAC address, in upper case.
    QString MacAddress() const { return text(FieldMacAddress); }
    void setMacAddress(const QString &value) { SetValue(FieldMacAddress, value); }
    ///@}
    ///@{
    /// When the device connected, in UTC.
    QDateTime ConnectedFrom() const { return dateTime(FieldConnectedFrom); }
    void setConnectedFrom(const QDateTime &value) { SetValue(FieldConnectedFrom, value); }
    ///@}
    ///@{
    /// When it disconnected, in UTC; invalid while the session is open.
    QDateTime ConnectedTo() const { return dateTime(FieldConnectedTo); }
    void setConnectedTo(const QDateTime &value) { SetValue(FieldConnectedTo, value); }
    ///@}
    ///@{
    /// Whether the device is still connected: the session has no end yet.
    bool IsOpen() const { return flag(FieldIsOpen); }
    void setIsOpen(bool value) { SetValue(FieldIsOpen, value); }
    ///@}
};

} // namespace zeldb

#endif // ZELDB_DEVICESESSIONSRECORD_H
