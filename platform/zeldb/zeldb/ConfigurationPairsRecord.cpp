#include <zeldb/ConfigurationPairsRecord.h>

namespace zeldb {

ConfigurationPairsRecord::ConfigurationPairsRecord()
    : RecordBase(schema())
{ }

const TableSchema &ConfigurationPairsRecord::schema()
{
    static const TableSchema tableSchema(
        QStringLiteral("ConfigurationPairs"), QStringLiteral("ConfigurationPair"),
        { { QStringLiteral("Id"), FieldType::Id, false },
          { QStringLiteral("ConfigKeyName"), FieldType::Text, true },
          { QStringLiteral("ConfigKeyValue"), FieldType::Text, false } });
    return tableSchema;
}

} // namespace zeldb
