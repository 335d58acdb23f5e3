#ifndef ZELDB_MAPOBJECTSTABLE_H
#define ZELDB_MAPOBJECTSTABLE_H

#include <zeldb/MapObjectsRecord.h>
#include <zeldb/MapObjectsSelectionCriteria.h>
#include <zeldb/TableBase.h>

namespace zeldb {

using MapObjectsTable = Table<MapObjectsRecord, MapObjectsSelectionCriteria>;

} // namespace zeldb

#endif // ZELDB_MAPOBJECTSTABLE_H
