#include <zeldb/MacAliasesRecord.h>

namespace zeldb {

MacAliasesRecord::MacAliasesRecord()
    : RecordBase(schema())
{ }

const TableSchema &MacAliasesRecord::schema()
{
    static const TableSchema &tableSchema
        = *new TableSchema(QStringLiteral("MacAliases"), QStringLiteral("MacAlias"),
                           {
                               ZELDB_FIELD(Id, Id, false),
                               ZELDB_FIELD(NetworkMapId, Unsigned, true),
                               ZELDB_FIELD(MacAddress, Text, true),
                               ZELDB_FIELD(NetworkMapObjectId, Unsigned, true),
                               ZELDB_FIELD(CreateDate, DateTime, false),
                           });
    return tableSchema;
}

} // namespace zeldb
