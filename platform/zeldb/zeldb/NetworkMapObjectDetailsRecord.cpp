#include <zeldb/NetworkMapObjectDetailsRecord.h>

namespace zeldb {

NetworkMapObjectDetailsRecord::NetworkMapObjectDetailsRecord()
    : RecordBase(schema())
{ }

const TableSchema &NetworkMapObjectDetailsRecord::schema()
{
    static const TableSchema &tableSchema = *new TableSchema(
        QStringLiteral("NetworkMapObjectDetails"), QStringLiteral("NetworkMapObjectDetail"),
        {
            ZELDB_FIELD(Id, Id, false),
            ZELDB_FIELD(NetworkMapObjectId, Unsigned, true),
            ZELDB_FIELD(MapObjectParameterId, Unsigned, false),
            ZELDB_FIELD(Value, Text, false),
            ZELDB_FIELD(CreateDate, DateTime, false),
            ZELDB_FIELD(UpdateDate, DateTime, false),
        });
    return tableSchema;
}

} // namespace zeldb
