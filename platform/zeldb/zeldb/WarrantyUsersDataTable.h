#ifndef ZELDB_WARRANTYUSERSDATATABLE_H
#define ZELDB_WARRANTYUSERSDATATABLE_H

#include <zeldb/TableBase.h>
#include <zeldb/WarrantyUsersDataRecord.h>
#include <zeldb/WarrantyUsersDataSelectionCriteria.h>

namespace zeldb {

using WarrantyUsersDataTable
    = AddOrUpdateTable<WarrantyUsersDataRecord, WarrantyUsersDataSelectionCriteria>;

} // namespace zeldb

#endif // ZELDB_WARRANTYUSERSDATATABLE_H
