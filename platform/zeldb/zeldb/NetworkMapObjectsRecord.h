#ifndef ZELDB_NETWORKMAPOBJECTSRECORD_H
#define ZELDB_NETWORKMAPOBJECTSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// One device of a network map. Its details are NetworkMapObjectDetailsRecord rows. A record is
/// a plain value; see RecordBase for its threads and copies.
class ZELDB_EXPORT NetworkMapObjectsRecord : public RecordBase
{
public:
    /// Field numbers, for SetValue and Value: the column order of the table and the numbers
    /// entities track their changes by. Stored files and callers rely on them, so a number is
    /// never changed or reused; a new field goes at the end.
    enum FieldNumber {
        /// The id: Id() and setId().
        FieldId = 0,
        /// The field of NetworkMapId() and setNetworkMapId().
        FieldNetworkMapId = 1,
        /// The field of MapObjectId() and setMapObjectId().
        FieldMapObjectId = 2,
        /// The field of Name() and setName().
        FieldName = 3,
        /// The field of MacAddress() and setMacAddress().
        FieldMacAddress = 4,
        /// The field of IpAddress() and setIpAddress().
        FieldIpAddress = 5,
        /// The field of IsConnected() and setIsConnected().
        FieldIsConnected = 6,
        /// The field of IsActive() and setIsActive().
        FieldIsActive = 7,
        /// The field of IsHistoryObject() and setIsHistoryObject().
        FieldIsHistoryObject = 8,
        /// The field of CreateDate() and setCreateDate().
        FieldCreateDate = 9,
        /// The field of UpdateDate() and setUpdateDate().
        FieldUpdateDate = 10
    };

    /// An empty record: no field set, each reading as its type's empty value.
    NetworkMapObjectsRecord();

    /// The table's columns, made on first use and the same for every record of the table. Any
    /// thread may call it.
    static const TableSchema &schema();

    ///@{
    /// @brief The id of the map (a NetworkMapsRecord) the device belongs to.
    unsigned NetworkMapId() const { return number(FieldNetworkMapId); }
    void setNetworkMapId(unsigned value) { SetValue(FieldNetworkMapId, value); }
    ///@}
    ///@{
    /// The id of the device's type (a MapObjectsRecord).
    unsigned MapObjectId() const { return number(FieldMapObjectId); }
    void setMapObjectId(unsigned value) { SetValue(FieldMapObjectId, value); }
    ///@}
    ///@{
    /// The device's name.
    QString Name() const { return text(FieldName); }
    void setName(const QString &value) { SetValue(FieldName, value); }
    ///@}
    ///@{
    /// The device's MAC address, as given, letter case included.
    QString MacAddress() const { return text(FieldMacAddress); }
    void setMacAddress(const QString &value) { SetValue(FieldMacAddress, value); }
    ///@}
    ///@{
    /// The IP address the device was added with; the library keeps later addresses among its
    /// details.
    QString IpAddress() const { return text(FieldIpAddress); }
    void setIpAddress(const QString &value) { SetValue(FieldIpAddress, value); }
    ///@}
    ///@{
    /// Whether the device counts as connected.
    bool IsConnected() const { return flag(FieldIsConnected); }
    void setIsConnected(bool value) { SetValue(FieldIsConnected, value); }
    ///@}
    ///@{
    /// Flags the library sets on every device it creates (IsActive true, IsHistoryObject false)
    /// and itself does not act on.
    bool IsActive() const { return flag(FieldIsActive); }
    void setIsActive(bool value) { SetValue(FieldIsActive, value); }
    bool IsHistoryObject() const { return flag(FieldIsHistoryObject); }
    void setIsHistoryObject(bool value) { SetValue(FieldIsHistoryObject, value); }
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

#endif // ZELDB_NETWORKMAPOBJECTSRECORD_H
