#ifndef ZELDB_MAPOBJECTPARAMETERSSELECTIONCRITERIA_H
#define ZELDB_MAPOBJECTPARAMETERSSELECTIONCRITERIA_H

#include <zeldb/MapObjectParametersRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

/// The conditions the parameter names of MapObjectParametersTable are selected by (see
/// SelectionCriteria): each setter sets one, and a row must meet them all. A plain value:
/// copies are independent; use one object on one thread at a time.
class MapObjectParametersSelectionCriteria : public SelectionCriteria
{
public:
    /// Selects the parameters of the device type with id VALUE.
    void MapObjectIdEqualsTo(unsigned value)
    {
        setCondition(MapObjectParametersRecord::FieldMapObjectId, Comparison::Equal, value);
    }
    /// Selects the parameters named VALUE, letter case included.
    void NameEqualsTo(const QString &value)
    {
        setCondition(MapObjectParametersRecord::FieldName, Comparison::Equal, value);
    }
};

} // namespace zeldb

#endif // ZELDB_MAPOBJECTPARAMETERSSELECTIONCRITERIA_H
