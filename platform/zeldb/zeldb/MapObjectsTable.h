#ifndef ZELDB_MAPOBJECTSTABLE_H
#define ZELDB_MAPOBJECTSTABLE_H

#include <zeldb/MapObjectsRecord.h>
#include <zeldb/MapObjectsSelectionCriteria.h>
#include <zeldb/TableBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// The MapObjects table of MapObjectsRecord rows, with Get, ForEach, Add, Update and Delete.
/// ZelDbDatabase::GetMapObjectsTable() gives it out; threads, failures and copies as for
/// TableBase.
class ZELDB_EXPORT MapObjectsTable : public Table<MapObjectsRecord, MapObjectsSelectionCriteria>
{
public:
    using Table::Table;
};

} // namespace zeldb

#endif // ZELDB_MAPOBJECTSTABLE_H
