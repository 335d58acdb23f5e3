#ifndef ZELDB_WARRANTYREGISTRATIONSTABLE_H
#define ZELDB_WARRANTYREGISTRATIONSTABLE_H

#include <zeldb/TableBase.h>
#include <zeldb/WarrantyRegistrationsRecord.h>
#include <zeldb/WarrantyRegistrationsSelectionCriteria.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// The WarrantyRegistrations table of WarrantyRegistrationsRecord rows, with Get, ForEach and
/// AddOrUpdate; its rows are never deleted one by one.
/// ZelDbDatabase::GetWarrantyRegistrationsTable() gives it out; threads, failures and copies as
/// for TableBase.
class ZELDB_EXPORT WarrantyRegistrationsTable
    : public AddOrUpdateTable<WarrantyRegistrationsRecord, WarrantyRegistrationsSelectionCriteria>
{
public:
    using AddOrUpdateTable::AddOrUpdateTable;
};

} // namespace zeldb

#endif // ZELDB_WARRANTYREGISTRATIONSTABLE_H
