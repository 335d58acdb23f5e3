#ifndef ZELDB_MAPOBJECTPARAMETERSRECORD_H
#define ZELDB_MAPOBJECTPARAMETERSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// One parameter name of a device type: the name under which devices of that type keep a
/// detail. A record is a plain value; see RecordBase for its threads and copies.
class ZELDB_EXPORT MapObjectParametersRecord : public RecordBase
{
public:
    /// Field numbers, for SetValue and Value: the column order of the table and the numbers
    /// entities track their changes by. Stored files and callers rely on them, so a number is
    /// never changed or reused; a new field goes at the end.
    enum FieldNumber {
        /// The id: Id() and setId().
        FieldId = 0,
        /// The field of MapObjectId() and setMapObjectId().
        FieldMapObjectId = 1,
        /// The field of Name() and setName().
        FieldName = 2,
        /// The field of IsActive() and setIsActive().
        FieldIsActive = 3,
        /// The field of CreateDate() and setCreateDate().
        FieldCreateDate = 4
    };

    /// An empty record: no field set, each reading as its type's empty value.
    MapObjectParametersRecord();

    /// The table's columns, made on first use and the same for every record of the table. Any
    /// thread may call it.
    static const TableSchema &schema();

    ///@{
    /// @brief The id of the device type (a MapObjectsRecord) the parameter belongs to.
    unsigned MapObjectId() const { return number(FieldMapObjectId); }
    void setMapObjectId(unsigned value) { SetValue(FieldMapObjectId, value); }
    ///@}
    ///@{
    /// The parameter's name; the library keeps it unique within its type.
    QString Name() const { return text(FieldName); }
    void setName(const QString &value) { SetValue(FieldName, value); }
    ///@}
    ///@{
    /// The parameter's active flag: true on every parameter the library creates; the library
    /// itself does not act on it.
    bool IsActive() const { return flag(FieldIsActive); }
    void setIsActive(bool value) { SetValue(FieldIsActive, value); }
    ///@}
    ///@{
    /// When the row was added: stamped by Add with the local time unless set; invalid for a
    /// record not read or added.
    QDateTime CreateDate() const { return dateTime(FieldCreateDate); }
    void setCreateDate(const QDateTime &value) { SetValue(FieldCreateDate, value); }
    ///@}
};

} // namespace zeldb

#endif // ZELDB_MAPOBJECTPARAMETERSRECORD_H
