#ifndef ZELDB_MACALIASESRECORD_H
#define ZELDB_MACALIASESRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// A MAC address that stands for a device of a map whose own address is another one: the
/// address of a device merged into it. A record is a plain value; see RecordBase for its
/// threads and copies.
class ZELDB_EXPORT MacAliasesRecord : public RecordBase
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
        /// The field of NetworkMapObjectId() and setNetworkMapObjectId().
        FieldNetworkMapObjectId = 3,
        /// The field of CreateDate() and setCreateDate().
        FieldCreateDate = 4
    };

    /// An empty record: no field set, each reading as its type's empty value.
    MacAliasesRecord();

    /// The table's columns, made on first use and the same for every record of the table. Any
    /// thread may call it.
    static const TableSchema &schema();

    ///@{
    /// The map of the device (a NetworkMapsRecord).
    unsigned NetworkMapId() const { return number(FieldNetworkMapId); }
    void setNetworkMapId(unsigned value) { SetValue(FieldNetworkMapId, value); }
    ///@}
    ///@{
    /// The address that stands for the device, in upper case.
    QString MacAddress() const { return text(FieldMacAddress); }
    void setMacAddress(const QString &value) { SetValue(FieldMacAddress, value); }
    ///@}
    ///@{
    /// The device the address stands for (a NetworkMapObjectsRecord).
    unsigned NetworkMapObjectId() const { return number(FieldNetworkMapObjectId); }
    void setNetworkMapObjectId(unsigned value) { SetValue(FieldNetworkMapObjectId, value); }
    ///@}
    ///@{
    /// When the address became an alias, in UTC.
    QDateTime CreateDate() const { return dateTime(FieldCreateDate); }
    void setCreateDate(const QDateTime &value) { SetValue(FieldCreateDate, value); }
    ///@}
};

} // namespace zeldb

#endif // ZELDB_MACALIASESRECORD_H
