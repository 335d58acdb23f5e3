#ifndef ZELDB_DEVICESESSIONSTABLE_H
#define ZELDB_DEVICESESSIONSTABLE_H

#include <zeldb/DeviceSessionsRecord.h>
#include <zeldb/DeviceSessionsSelectionCriteria.h>
#include <zeldb/TableBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// The table of DeviceSessionsRecord. Threads, failures and copies as for TableBase.
class ZELDB_EXPORT DeviceSessionsTable
    : public Table<DeviceSessionsRecord, DeviceSessionsSelectionCriteria>
{
public:
    /// The table of DATABASE, which must outlive it.
    using Table::Table;
};

} // namespace zeldb

#endif // ZELDB_DEVICESESSIONSTABLE_H
