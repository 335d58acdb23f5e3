#ifndef ZELDB_MAPOBJECTPARAMETERSTABLE_H
#define ZELDB_MAPOBJECTPARAMETERSTABLE_H

#include <zeldb/MapObjectParametersRecord.h>
#include <zeldb/MapObjectParametersSelectionCriteria.h>
#include <zeldb/TableBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// The MapObjectParameters table of MapObjectParametersRecord rows, with Get, ForEach, Add,
/// Update and Delete. ZelDbDatabase::GetMapObjectParametersTable() gives it out; threads,
/// failures and copies as for TableBase.
class ZELDB_EXPORT MapObjectParametersTable
    : public Table<MapObjectParametersRecord, MapObjectParametersSelectionCriteria>
{
public:
    using Table::Table;
};

} // namespace zeldb

#endif // ZELDB_MAPOBJECTPARAMETERSTABLE_H
