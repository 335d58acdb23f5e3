#ifndef ZELDB_MAPOBJECTSRECORD_H
#define ZELDB_MAPOBJECTSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// One device type of the catalogue. A record is a plain value; see RecordBase for its threads
/// and copies.
class ZELDB_EXPORT MapObjectsRecord : public RecordBase
{
public:
    /// Field numbers, for SetValue and Value: the column order of the table and the numbers
    /// entities track their changes by. Stored files and callers rely on them, so a number is
    /// never changed or reused; a new field goes at the end.
    enum FieldNumber {
        /// The id: Id() and setId().
        FieldId = 0,
        /// The field of Name() and setName().
        FieldName = 1,
        /// The field of IsActive() and setIsActive().
        FieldIsActive = 2,
        /// The field of ShowOnMap() and setShowOnMap().
        FieldShowOnMap = 3,
        /// The field of IconId() and setIconId().
        FieldIconId = 4,
        /// The field of CreateDate() and setCreateDate().
        FieldCreateDate = 5,
        /// The field of UpdateDate() and setUpdateDate().
        FieldUpdateDate = 6
    };

    /// An empty record: no field set, each reading as its type's empty value.
    MapObjectsRecord();

    /// The table's columns, made on first use and the same for every record of the table. Any
    /// thread may call it.
    static const TableSchema &schema();

    ///@{
    /// @brief The type's name; the catalogue finds a type by it.
    QString Name() const { return text(FieldName); }
    void setName(const QString &value) { SetValue(FieldName, value); }
    ///@}
    ///@{
    /// The type's active flag: true on every type the library creates; the library itself does
    /// not act on it.
    bool IsActive() const { return flag(FieldIsActive); }
    void setIsActive(bool value) { SetValue(FieldIsActive, value); }
    ///@}
    ///@{
    /// Whether devices of the type are shown on a map: true on every type the library creates;
    /// the library itself does not act on it.
    bool ShowOnMap() const { return flag(FieldShowOnMap); }
    void setShowOnMap(bool value) { SetValue(FieldShowOnMap, value); }
    ///@}
    ///@{
    /// The type's icon, as text: one space on every type the library creates; the library
    /// itself does not act on it.
    QString IconId() const { return text(FieldIconId); }
    void setIconId(const QString &value) { SetValue(FieldIconId, value); }
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

#endif // ZELDB_MAPOBJECTSRECORD_H
