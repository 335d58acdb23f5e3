#include <zeldb/DeviceSessionsRecord.h>

namespace zeldb {

DeviceSessionsRecord::DeviceSessionsRecord()
    : RecordBase(schema())
{ }

const TableSchema &DeviceSessionsRecord::schema()
{
    static const TableSchema &tableSchema
        = *new TableSchema(QStringLiteral("DeviceSessions"), QStringLiteral("DeviceSession"),
                           {
                               ZELDB_FIELD(Id, Id, false),
                               ZELDB_FIELD(NetworkMapId, Unsigned, false),
                               ZELDB_FIELD(MacAddress, Text, true),
                               ZELDB_FIELD(ConnectedFrom, DateTime, false),
                               ZELDB_FIELD(ConnectedTo, DateTime, true),
                               ZELDB_FIELD(IsOpen, Boolean, false),
                           });
    return tableSchema;
}

} // namespace zeldb
