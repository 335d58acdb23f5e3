#ifndef ZELDB_WARRANTYUSERSDATATABLE_H
#define ZELDB_WARRANTYUSERSDATATABLE_H

#include <zeldb/TableBase.h>
#include <zeldb/WarrantyUsersDataRecord.h>
#include <zeldb/WarrantyUsersDataSelectionCriteria.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

class ZELDB_EXPORT WarrantyUsersDataTable
    : public AddOrUpdateTable<WarrantyUsersDataRecord, WarrantyUsersDataSelectionCriteria>
{
public:
    using AddOrUpdateTable::AddOrUpdateTable;
};

} // namespace zeldb

#endif // ZELDB_WARRANTYUSERSDATATABLE_H
