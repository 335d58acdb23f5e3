#ifndef ZELDB_MAPOBJECTSSELECTIONCRITERIA_H
#define ZELDB_MAPOBJECTSSELECTIONCRITERIA_H

#include <zeldb/MapObjectsRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

/// The conditions the device types of MapObjectsTable are selected by (see SelectionCriteria):
/// each setter sets one, and a row must meet them all. A plain value: copies are independent;
/// use one object on one thread at a time.
class MapObjectsSelectionCriteria : public SelectionCriteria
{
public:
    /// Selects the types named VALUE, letter case included.
    void NameEqualsTo(const QString &value)
    {
        setCondition(MapObjectsRecord::FieldName, Comparison::Equal, value);
    }
};

} // namespace zeldb

#endif // ZELDB_MAPOBJECTSSELECTIONCRITERIA_H
