#ifndef ZELDB_NETWORKMAPOBJECTDETAILSTABLE_H
#define ZELDB_NETWORKMAPOBJECTDETAILSTABLE_H

#include <zeldb/NetworkMapObjectDetailsRecord.h>
#include <zeldb/NetworkMapObjectDetailsSelectionCriteria.h>
#include <zeldb/TableBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// The NetworkMapObjectDetails table of NetworkMapObjectDetailsRecord rows, with Get, ForEach,
/// Add, Update and Delete. ZelDbDatabase::GetNetworkMapObjectDetailsTable() gives it out;
/// threads, failures and copies as for TableBase.
class ZELDB_EXPORT NetworkMapObjectDetailsTable
    : public Table<NetworkMapObjectDetailsRecord, NetworkMapObjectDetailsSelectionCriteria>
{
public:
    using Table::Table;
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPOBJECTDETAILSTABLE_H
