#include <zeldb/WarrantyRegistrationsRecord.h>

namespace zeldb {

WarrantyRegistrationsRecord::WarrantyRegistrationsRecord()
    : RecordBase(schema())
{ }

const TableSchema &WarrantyRegistrationsRecord::schema()
{
    static const TableSchema &tableSchema = *new TableSchema(
        QStringLiteral("WarrantyRegistrations"), QStringLiteral("WarrantyRegistration"),
        {
            ZELDB_FIELD(Id, Id, false),
            ZELDB_FIELD(WarrantyUserDataId, Unsigned, true),
            ZELDB_FIELD(ProductModelName, Text, true),
            ZELDB_FIELD(ProductSerialNo, Text, true),
            ZELDB_FIELD(ProductMacAddress, Text, false),
            ZELDB_FIELD(ProductFwVersion, Text, false),
            ZELDB_FIELD(ProductToken, Text, true),
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
