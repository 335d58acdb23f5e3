#ifndef ZELDB_MAPOBJECTPARAMETERSTABLE_H
#define ZELDB_MAPOBJECTPARAMETERSTABLE_H

#include <zeldb/MapObjectParametersRecord.h>
#include <zeldb/MapObjectParametersSelectionCriteria.h>
#include <zeldb/TableBase.h>

namespace zeldb {

using MapObjectParametersTable
    = Table<MapObjectParametersRecord, MapObjectParametersSelectionCriteria>;

} // namespace zeldb

#endif // ZELDB_MAPOBJECTPARAMETERSTABLE_H
