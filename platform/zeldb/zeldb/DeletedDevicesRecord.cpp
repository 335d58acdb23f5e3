#include <zeldb/DeletedDevicesRecord.h>

namespace zeldb {

DeletedDevicesRecord::DeletedDevicesRecord()
    : RecordBase(schema())
{ }

const TableSchema &DeletedDevicesRecord::schema()
{
    static const TableSchema &tableSchema
        = *new TableSchema(QStringLiteral("DeletedDevices"), QStringLiteral("DeletedDevice"),
                           {
                               ZELDB_FIELD(Id, Id, false),
                               ZELDB_FIELD(NetworkMapId, Unsigned, true),
                               ZELDB_FIELD(MacAddress, Text, true),
                               ZELDB_FIELD(Details, Text, false),
                               ZELDB_FIELD(CreateDate, DateTime, false),
                           });
    return tableSchema;
}

} // namespace zeldb
