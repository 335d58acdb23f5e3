#ifndef ZELDB_CONFIGURATIONPAIRSRECORD_H
#define ZELDB_CONFIGURATIONPAIRSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// One key/value pair of the configuration store; the library keeps one row per key name. A
/// record is a plain value; see RecordBase for its threads and copies.
class ZELDB_EXPORT ConfigurationPairsRecord : public RecordBase
{
public:
    /// @enum FieldNumber
    /// Field numbers, for SetValue and Value: the column order of the table and the numbers
    /// entities track their changes by. Stored files and callers rely on them, so a number is
    /// never changed or reused; a new field goes at the end.
    /// @var FieldId
    /// The id: Id() and setId().
    /// @var FieldConfigKeyName
    /// The field of ConfigKeyName() and setConfigKeyName().
    /// @var FieldConfigKeyValue
    /// The field of ConfigKeyValue() and setConfigKeyValue().
    enum FieldNumber { FieldId = 0, FieldConfigKeyName = 1, FieldConfigKeyValue = 2 };

    /// An empty record: no field set, each reading as its type's empty value.
    ConfigurationPairsRecord();

    /// The table's columns, made on first use and the same for every record of the table. Any
    /// thread may call it.
    static const TableSchema &schema();

    ///@{
    /// @brief The key's name.
    QString ConfigKeyName() const { return text(FieldConfigKeyName); }
    void setConfigKeyName(const QString &value) { SetValue(FieldConfigKeyName, value); }
    ///@}
    ///@{
    /// The key's value, as text.
    QString ConfigKeyValue() const { return text(FieldConfigKeyValue); }
    void setConfigKeyValue(const QString &value) { SetValue(FieldConfigKeyValue, value); }
    ///@}
};

} // namespace zeldb

#endif // ZELDB_CONFIGURATIONPAIRSRECORD_H
