#include <zeldb/ConfigurationPairsRecord.h>

namespace zeldb {

ConfigurationPairsRecord::ConfigurationPairsRecord()
    : RecordBase(schema())
{ }

const TableSchema &ConfigurationPairsRecord::schema()
{
    static const TableSchema &tableSchema = *new TableSchema(
        QStringLiteral("ConfigurationPairs"), QStringLiteral("ConfigurationPair"),
        {
            ZELDB_FIELD(Id, Id, false),
            ZELDB_FIELD(ConfigKeyName, Text, true),
            ZELDB_FIELD(ConfigKeyValue, Text, false),
        });
    return tableSchema;
}

} // namespace zeldb
