#include <zeldb/MapObjectParametersRecord.h>

namespace zeldb {

MapObjectParametersRecord::MapObjectParametersRecord()
    : RecordBase(schema())
{ }

const TableSchema &MapObjectParametersRecord::schema()
{
    static const TableSchema &tableSchema = *new TableSchema(
        QStringLiteral("MapObjectParameters"), QStringLiteral("MapObjectParameter"),
        {
            ZELDB_FIELD(Id, Id, false),
            ZELDB_FIELD(MapObjectId, Unsigned, true),
            ZELDB_FIELD(Name, Text, true),
            ZELDB_FIELD(IsActive, Boolean, false),
            ZELDB_FIELD(CreateDate, DateTime, false),
        });
    return tableSchema;
}

} // namespace zeldb
