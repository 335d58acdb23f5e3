#ifndef ZELDB_NETWORKMAPOBJECTSTABLE_H
#define ZELDB_NETWORKMAPOBJECTSTABLE_H

#include <zeldb/NetworkMapObjectsRecord.h>
#include <zeldb/NetworkMapObjectsSelectionCriteria.h>
#include <zeldb/TableBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// The NetworkMapObjects table of NetworkMapObjectsRecord rows, with Get, ForEach, Add, Update
/// and Delete. ZelDbDatabase::GetNetworkMapObjectsTable() gives it out; threads, failures and
/// copies as for TableBase.
class ZELDB_EXPORT NetworkMapObjectsTable
    : public Table<NetworkMapObjectsRecord, NetworkMapObjectsSelectionCriteria>
{
public:
    using Table::Table;
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPOBJECTSTABLE_H
