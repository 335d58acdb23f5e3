#include <zeldb/MapObjectParametersRecord.h>

namespace zeldb {

MapObjectParametersRecord::MapObjectParametersRecord()
    : RecordBase(schema())
{ }

const TableSchema &MapObjectParametersRecord::schema()
{
    static const TableSchema tableSchema(
        QStringLiteral("MapObjectParameters"), QStringLiteral("MapObjectParameter"),
        { { QStringLiteral("Id"), FieldType::Id, false },
          { QStringLiteral("MapObjectId"), FieldType::Unsigned, true },
          { QStringLiteral("Name"), FieldType::Text, true },
          { QStringLiteral("IsActive"), FieldType::Boolean, false },
          { QStringLiteral("CreateDate"), FieldType::DateTime, false } });
    return tableSchema;
}

} // namespace zeldb
