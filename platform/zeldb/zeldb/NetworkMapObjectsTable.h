#ifndef ZELDB_NETWORKMAPOBJECTSTABLE_H
#define ZELDB_NETWORKMAPOBJECTSTABLE_H

#include <zeldb/NetworkMapObjectsRecord.h>
#include <zeldb/NetworkMapObjectsSelectionCriteria.h>
#include <zeldb/TableBase.h>

namespace zeldb {

using NetworkMapObjectsTable = Table<NetworkMapObjectsRecord, NetworkMapObjectsSelectionCriteria>;

} // namespace zeldb

#endif // ZELDB_NETWORKMAPOBJECTSTABLE_H
