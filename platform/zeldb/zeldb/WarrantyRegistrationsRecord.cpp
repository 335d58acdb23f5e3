#include <zeldb/WarrantyRegistrationsRecord.h>

namespace zeldb {

WarrantyRegistrationsRecord::WarrantyRegistrationsRecord()
    : RecordBase(schema())
{ }

const TableSchema &WarrantyRegistrationsRecord::schema()
{
    static const TableSchema tableSchema(
        QStringLiteral("WarrantyRegistrations"), QStringLiteral("WarrantyRegistration"),
        { { QStringLiteral("Id"), FieldType::Id, false },
          { QStringLiteral("WarrantyUserDataId"), FieldType::Unsigned, true },
          { QStringLiteral("ProductModelName"), FieldType::Text, true },
          { QStringLiteral("ProductSerialNo"), FieldType::Text, true },
          { QStringLiteral("ProductMacAddress"), FieldType::Text, false },
          { QStringLiteral("ProductFwVersion"), FieldType::Text, false },
          { QStringLiteral("ProductToken"), FieldType::Text, true },
          { QStringLiteral("Extra1"), FieldType::Text, false },
          { QStringLiteral("Extra2"), FieldType::Text, false },
          { QStringLiteral("Extra3"), FieldType::Text, false },
          { QStringLiteral("IsRegistered"), FieldType::Boolean, true },
          { QStringLiteral("CreateDate"), FieldType::DateTime, false },
          { QStringLiteral("UpdateDate"), FieldType::DateTime, false } });
    return tableSchema;
}

} // namespace zeldb
