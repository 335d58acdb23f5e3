#ifndef ZELDB_MAPOBJECTSTABLE_H
#define ZELDB_MAPOBJECTSTABLE_H

#include <zeldb/MapObjectsRecord.h>
#include <zeldb/MapObjectsSelectionCriteria.h>
#include <zeldb/TableBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

class ZELDB_EXPORT MapObjectsTable : public Table<MapObjectsRecord, MapObjectsSelectionCriteria>
{
public:
    using Table::Table;
};

} // namespace zeldb

#endif // ZELDB_MAPOBJECTSTABLE_H
