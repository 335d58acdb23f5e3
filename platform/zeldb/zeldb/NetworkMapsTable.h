#ifndef ZELDB_NETWORKMAPSTABLE_H
#define ZELDB_NETWORKMAPSTABLE_H

#include <zeldb/NetworkMapsRecord.h>
#include <zeldb/NetworkMapsSelectionCriteria.h>
#include <zeldb/TableBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// The NetworkMaps table of NetworkMapsRecord rows, with Get, ForEach, Add, Update and Delete.
/// ZelDbDatabase::GetNetworkMapsTable() gives it out; threads, failures and copies as for
/// TableBase.
class ZELDB_EXPORT NetworkMapsTable : public Table<NetworkMapsRecord, NetworkMapsSelectionCriteria>
{
public:
    using Table::Table;
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPSTABLE_H
