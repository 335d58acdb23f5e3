#include <zeldb/NetworkMapsRecord.h>

namespace zeldb {

NetworkMapsRecord::NetworkMapsRecord()
    : RecordBase(schema())
{ }

const TableSchema &NetworkMapsRecord::schema()
{
    static const TableSchema &tableSchema
        = *new TableSchema(QStringLiteral("NetworkMaps"), QStringLiteral("NetworkMap"),
                           {
                               ZELDB_FIELD(Id, Id, false),
                               ZELDB_FIELD(Serial, Text, true),
                               ZELDB_FIELD(Name, Text, true),
                               ZELDB_FIELD(MasterDeviceId, Unsigned, false),
                               ZELDB_FIELD(LocalZelPcId, Unsigned, false),
                               ZELDB_FIELD(Nic, Text, false),
                               ZELDB_FIELD(IsActive, Boolean, false),
                               ZELDB_FIELD(IsDefault, Boolean, false),
                               ZELDB_FIELD(IsHistoryMap, Boolean, false),
                               ZELDB_FIELD(IsInUse, Boolean, false),
                               ZELDB_FIELD(CreateDate, DateTime, false),
                               ZELDB_FIELD(UpdateDate, DateTime, false),
                           });
    return tableSchema;
}

} // namespace zeldb
