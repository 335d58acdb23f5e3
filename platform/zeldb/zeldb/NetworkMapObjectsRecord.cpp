#include <zeldb/NetworkMapObjectsRecord.h>

namespace zeldb {

NetworkMapObjectsRecord::NetworkMapObjectsRecord()
    : RecordBase(schema())
{ }

const TableSchema &NetworkMapObjectsRecord::schema()
{
    static const TableSchema &tableSchema
        = *new TableSchema(QStringLiteral("NetworkMapObjects"), QStringLiteral("NetworkMapObject"),
                           {
                               ZELDB_FIELD(Id, Id, false),
                               ZELDB_FIELD(NetworkMapId, Unsigned, true),
                               ZELDB_FIELD(MapObjectId, Unsigned, true),
                               ZELDB_FIELD(Name, Text, false),
                               ZELDB_FIELD(MacAddress, Text, false),
                               ZELDB_FIELD(IpAddress, Text, false),
                               ZELDB_FIELD(IsConnected, Boolean, false),
                               ZELDB_FIELD(IsActive, Boolean, false),
                               ZELDB_FIELD(IsHistoryObject, Boolean, false),
                               ZELDB_FIELD(CreateDate, DateTime, false),
                               ZELDB_FIELD(UpdateDate, DateTime, false),
                           });
    return tableSchema;
}

} // namespace zeldb
