#include <zeldb/NetworkMapObjectsRecord.h>

namespace zeldb {

NetworkMapObjectsRecord::NetworkMapObjectsRecord()
    : RecordBase(schema())
{ }

const TableSchema &NetworkMapObjectsRecord::schema()
{
    static const TableSchema tableSchema(
        QStringLiteral("NetworkMapObjects"), QStringLiteral("NetworkMapObject"),
        { { QStringLiteral("Id"), FieldType::Id, false },
          { QStringLiteral("NetworkMapId"), FieldType::Unsigned, true },
          { QStringLiteral("MapObjectId"), FieldType::Unsigned, true },
          { QStringLiteral("Name"), FieldType::Text, false },
          { QStringLiteral("MacAddress"), FieldType::Text, false },
          { QStringLiteral("IpAddress"), FieldType::Text, false },
          { QStringLiteral("IsConnected"), FieldType::Boolean, false },
          { QStringLiteral("IsActive"), FieldType::Boolean, false },
          { QStringLiteral("IsHistoryObject"), FieldType::Boolean, false },
          { QStringLiteral("CreateDate"), FieldType::DateTime, false },
          { QStringLiteral("UpdateDate"), FieldType::DateTime, false } });
    return tableSchema;
}

} // namespace zeldb
