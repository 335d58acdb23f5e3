#include <zeldb/WarrantyUsersDataRecord.h>

namespace zeldb {

WarrantyUsersDataRecord::WarrantyUsersDataRecord()
    : RecordBase(schema())
{ }

const TableSchema &WarrantyUsersDataRecord::schema()
{
    static const TableSchema &tableSchema
        = *new TableSchema(QStringLiteral("WarrantyUsersData"), QStringLiteral("WarrantyUserData"),
                           {
                               ZELDB_FIELD(Id, Id, false),
                               ZELDB_FIELD(Name, Text, false),
                               ZELDB_FIELD(Surname, Text, false),
                               ZELDB_FIELD(Email, Text, false),
                               ZELDB_FIELD(PhoneNumber, Text, false),
                               ZELDB_FIELD(UserToken, Text, true),
                               ZELDB_FIELD(Extra1, Text, false),
                               ZELDB_FIELD(Extra2, Text, false),
                               ZELDB_FIELD(Extra3, Text, false),
                               ZELDB_FIELD(IsRegistered, Boolean, true),
                               ZELDB_FIELD(CreateDate, DateTime, false),
                               ZELDB_FIELD(UpdateDate, DateTime, false),
                           });
    return tableSchema;
}

} // namespace zeldb
