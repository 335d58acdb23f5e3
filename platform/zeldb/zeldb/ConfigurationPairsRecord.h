#ifndef ZELDB_CONFIGURATIONPAIRSRECORD_H
#define ZELDB_CONFIGURATIONPAIRSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

class ZELDB_EXPORT ConfigurationPairsRecord : public RecordBase
{
public:
    // Field numbers, for SetValue and Value: the column order of the table and the numbers
    // entities track their changes by. Stored files and callers rely on them, so a number is
    // never changed or reused; a new field goes at the end.
    enum FieldNumber { FieldId = 0, FieldConfigKeyName = 1, FieldConfigKeyValue = 2 };

    ConfigurationPairsRecord();

    static const TableSchema &schema();

    QString ConfigKeyName() const { return text(FieldConfigKeyName); }
    void setConfigKeyName(const QString &value) { SetValue(FieldConfigKeyName, value); }
    QString ConfigKeyValue() const { return text(FieldConfigKeyValue); }
    void setConfigKeyValue(const QString &value) { SetValue(FieldConfigKeyValue, value); }
};

} // namespace zeldb

#endif // ZELDB_CONFIGURATIONPAIRSRECORD_H
