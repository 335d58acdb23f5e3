#ifndef ZELDB_NETWORKMAPSTABLE_H
#define ZELDB_NETWORKMAPSTABLE_H

#include <zeldb/NetworkMapsRecord.h>
#include <zeldb/NetworkMapsSelectionCriteria.h>
#include <zeldb/TableBase.h>

namespace zeldb {

using NetworkMapsTable = Table<NetworkMapsRecord, NetworkMapsSelectionCriteria>;

} // namespace zeldb

#endif // ZELDB_NETWORKMAPSTABLE_H
