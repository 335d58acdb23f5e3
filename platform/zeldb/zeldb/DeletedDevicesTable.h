#ifndef ZELDB_DELETEDDEVICESTABLE_H
#define ZELDB_DELETEDDEVICESTABLE_H

#include <zeldb/DeletedDevicesRecord.h>
#include <zeldb/DeletedDevicesSelectionCriteria.h>
#include <zeldb/TableBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// The table of DeletedDevicesRecord. Threads, failures and copies as for TableBase.
class ZELDB_EXPORT DeletedDevicesTable
    : public Table<DeletedDevicesRecord, DeletedDevicesSelectionCriteria>
{
public:
    /// The table of DATABASE, which must outlive it.
    using Table::Table;
};

} // namespace zeldb

#endif // ZELDB_DELETEDDEVICESTABLE_H
