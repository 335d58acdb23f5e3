#include <zeldb/MapObjectsRecord.h>

namespace zeldb {

MapObjectsRecord::MapObjectsRecord()
    : RecordBase(schema())
{ }

const TableSchema &MapObjectsRecord::schema()
{
    static const TableSchema tableSchema(
        QStringLiteral("MapObjects"), QStringLiteral("MapObject"),
        { { QStringLiteral("Id"), FieldType::Id, false },
          { QStringLiteral("Name"), FieldType::Text, true },
          { QStringLiteral("IsActive"), FieldType::Boolean, false },
          { QStringLiteral("ShowOnMap"), FieldType::Boolean, false },
          { QStringLiteral("IconId"), FieldType::Text, false },
          { QStringLiteral("CreateDate"), FieldType::DateTime, false },
          { QStringLiteral("UpdateDate"), FieldType::DateTime, false } });
    return tableSchema;
}

} // namespace zeldb
