#ifndef ZELDB_WARRANTYUSERSDATATABLE_H
#define ZELDB_WARRANTYUSERSDATATABLE_H

#include <zeldb/TableBase.h>
#include <zeldb/WarrantyUsersDataRecord.h>
#include <zeldb/WarrantyUsersDataSelectionCriteria.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// The WarrantyUsersData table of WarrantyUsersDataRecord rows, with Get, ForEach and
/// AddOrUpdate; its rows are never deleted one by one.
/// ZelDbDatabase::GetWarrantyUsersDataTable() gives it out; threads, failures and copies as for
/// TableBase.
class ZELDB_EXPORT WarrantyUsersDataTable
    : public AddOrUpdateTable<WarrantyUsersDataRecord, WarrantyUsersDataSelectionCriteria>
{
public:
    using AddOrUpdateTable::AddOrUpdateTable;
};

} // namespace zeldb

#endif // ZELDB_WARRANTYUSERSDATATABLE_H
