#include <zeldb/WarrantyUsersDataRecord.h>

namespace zeldb {

WarrantyUsersDataRecord::WarrantyUsersDataRecord()
    : RecordBase(schema())
{ }

const TableSchema &WarrantyUsersDataRecord::schema()
{
    static const TableSchema tableSchema(
        QStringLiteral("WarrantyUsersData"), QStringLiteral("WarrantyUserData"),
        { { QStringLiteral("Id"), FieldType::Id, false },
          { QStringLiteral("Name"), FieldType::Text, false },
          { QStringLiteral("Surname"), FieldType::Text, false },
          { QStringLiteral("Email"), FieldType::Text, false },
          { QStringLiteral("PhoneNumber"), FieldType::Text, false },
          { QStringLiteral("UserToken"), FieldType::Text, true },
          { QStringLiteral("Extra1"), FieldType::Text, false },
          { QStringLiteral("Extra2"), FieldType::Text, false },
          { QStringLiteral("Extra3"), FieldType::Text, false },
          { QStringLiteral("IsRegistered"), FieldType::Boolean, true },
          { QStringLiteral("CreateDate"), FieldType::DateTime, false },
          { QStringLiteral("UpdateDate"), FieldType::DateTime, false } });
    return tableSchema;
}

} // namespace zeldb
