#ifndef ZELDB_NETWORKMAPOBJECTDETAILSTABLE_H
#define ZELDB_NETWORKMAPOBJECTDETAILSTABLE_H

#include <zeldb/NetworkMapObjectDetailsRecord.h>
#include <zeldb/NetworkMapObjectDetailsSelectionCriteria.h>
#include <zeldb/TableBase.h>

namespace zeldb {

using NetworkMapObjectDetailsTable
    = Table<NetworkMapObjectDetailsRecord, NetworkMapObjectDetailsSelectionCriteria>;

} // namespace zeldb

#endif // ZELDB_NETWORKMAPOBJECTDETAILSTABLE_H
