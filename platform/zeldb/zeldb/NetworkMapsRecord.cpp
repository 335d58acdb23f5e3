#include <zeldb/NetworkMapsRecord.h>

namespace zeldb {

NetworkMapsRecord::NetworkMapsRecord()
    : RecordBase(schema())
{ }

const TableSchema &NetworkMapsRecord::schema()
{
    static const TableSchema tableSchema(
        QStringLiteral("NetworkMaps"), QStringLiteral("NetworkMap"),
        { { QStringLiteral("Id"), FieldType::Id, false },
          { QStringLiteral("Serial"), FieldType::Text, true },
          { QStringLiteral("Name"), FieldType::Text, true },
          { QStringLiteral("MasterDeviceId"), FieldType::Unsigned, false },
          { QStringLiteral("LocalZelPcId"), FieldType::Unsigned, false },
          { QStringLiteral("Nic"), FieldType::Text, false },
          { QStringLiteral("IsActive"), FieldType::Boolean, false },
          { QStringLiteral("IsDefault"), FieldType::Boolean, false },
          { QStringLiteral("IsHistoryMap"), FieldType::Boolean, false },
          { QStringLiteral("IsInUse"), FieldType::Boolean, false },
          { QStringLiteral("CreateDate"), FieldType::DateTime, false },
          { QStringLiteral("UpdateDate"), FieldType::DateTime, false } });
    return tableSchema;
}

} // namespace zeldb
