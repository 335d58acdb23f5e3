#ifndef ZELDB_NETWORKMAPOBJECTDETAILSRECORD_H
#define ZELDB_NETWORKMAPOBJECTDETAILSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// One detail of one device: the value of one parameter of the device's type, as text. A record
/// is a plain value; see RecordBase for its threads and copies.
class ZELDB_EXPORT NetworkMapObjectDetailsRecord : public RecordBase
{
public:
    /// Field numbers, for SetValue and Value: the column order of the table and the numbers
    /// entities track their changes by. Stored files and callers rely on them, so a number is
    /// never changed or reused; a new field goes at the end.
    enum FieldNumber {
        /// The id: Id() and setId().
        FieldId = 0,
        /// The field of NetworkMapObjectId() and setNetworkMapObjectId().
        FieldNetworkMapObjectId = 1,
        /// The field of MapObjectParameterId() and setMapObjectParameterId().
        FieldMapObjectParameterId = 2,
        /// The field of Value() and setValue().
        FieldValue = 3,
        /// The field of CreateDate() and setCreateDate().
        FieldCreateDate = 4,
        /// The field of UpdateDate() and setUpdateDate().
        FieldUpdateDate = 5
    };

    /// An empty record: no field set, each reading as its type's empty value.
    NetworkMapObjectDetailsRecord();

    /// The table's columns, made on first use and the same for every record of the table. Any
    /// thread may call it.
    static const TableSchema &schema();

    ///@{
    /// @brief The id of the device (a NetworkMapObjectsRecord) the detail belongs to.
    unsigned NetworkMapObjectId() const { return number(FieldNetworkMapObjectId); }
    void setNetworkMapObjectId(unsigned value) { SetValue(FieldNetworkMapObjectId, value); }
    ///@}
    ///@{
    /// The id of the parameter (a MapObjectParametersRecord) whose value this is.
    unsigned MapObjectParameterId() const { return number(FieldMapObjectParameterId); }
    void setMapObjectParameterId(unsigned value) { SetValue(FieldMapObjectParameterId, value); }
    ///@}
    ///@{
    /// The detail's value, as text. Value() hides RecordBase::Value(int) by name: call that one
    /// as RecordBase::Value(number) on this class.
    QString Value() const { return text(FieldValue); }
    void setValue(const QString &value) { SetValue(FieldValue, value); }
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

#endif // ZELDB_NETWORKMAPOBJECTDETAILSRECORD_H
