#ifndef ZELDB_MAPOBJECTPARAMETERSTABLE_H
#define ZELDB_MAPOBJECTPARAMETERSTABLE_H

#include <zeldb/MapObjectParametersRecord.h>
#include <zeldb/MapObjectParametersSelectionCriteria.h>
#include <zeldb/TableBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

class ZELDB_EXPORT MapObjectParametersTable
    : public Table<MapObjectParametersRecord, MapObjectParametersSelectionCriteria>
{
public:
    using Table::Table;
};

} // namespace zeldb

#endif // ZELDB_MAPOBJECTPARAMETERSTABLE_H
