#include <zeldb/NetworkMapObjectDetailsRecord.h>

namespace zeldb {

NetworkMapObjectDetailsRecord::NetworkMapObjectDetailsRecord()
    : RecordBase(schema())
{ }

const TableSchema &NetworkMapObjectDetailsRecord::schema()
{
    static const TableSchema tableSchema(
        QStringLiteral("NetworkMapObjectDetails"), QStringLiteral("NetworkMapObjectDetail"),
        { { QStringLiteral("Id"), FieldType::Id, false },
          { QStringLiteral("NetworkMapObjectId"), FieldType::Unsigned, true },
          { QStringLiteral("MapObjectParameterId"), FieldType::Unsigned, false },
          { QStringLiteral("Value"), FieldType::Text, false },
          { QStringLiteral("CreateDate"), FieldType::DateTime, false },
          { QStringLiteral("UpdateDate"), FieldType::DateTime, false } });
    return tableSchema;
}

} // namespace zeldb
