#include <zeldb/MapObjectsRecord.h>

namespace zeldb {

MapObjectsRecord::MapObjectsRecord()
    : RecordBase(schema())
{ }

const TableSchema &MapObjectsRecord::schema()
{
    static const TableSchema &tableSchema
        = *new TableSchema(QStringLiteral("MapObjects"), QStringLiteral("MapObject"),
                           {
                               ZELDB_FIELD(Id, Id, false),
                               ZELDB_FIELD(Name, Text, true),
                               ZELDB_FIELD(IsActive, Boolean, false),
                               ZELDB_FIELD(ShowOnMap, Boolean, false),
                               ZELDB_FIELD(IconId, Text, false),
                               ZELDB_FIELD(CreateDate, DateTime, false),
                               ZELDB_FIELD(UpdateDate, DateTime, false),
                           });
    return tableSchema;
}

} // namespace zeldb
