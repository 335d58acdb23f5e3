#ifndef ZELDB_MAPOBJECTPARAMETERSSELECTIONCRITERIA_H
#define ZELDB_MAPOBJECTPARAMETERSSELECTIONCRITERIA_H

#include <zeldb/MapObjectParametersRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

class MapObjectParametersSelectionCriteria : public SelectionCriteria
{
public:
    void MapObjectIdEqualsTo(unsigned value)
    {
        setCondition(MapObjectParametersRecord::FieldMapObjectId, Comparison::Equal, value);
    }
    void NameEqualsTo(const QString &value)
    {
        setCondition(MapObjectParametersRecord::FieldName, Comparison::Equal, value);
    }
};

} // namespace zeldb

#endif // ZELDB_MAPOBJECTPARAMETERSSELECTIONCRITERIA_H
