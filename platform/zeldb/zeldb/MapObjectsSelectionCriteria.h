#ifndef ZELDB_MAPOBJECTSSELECTIONCRITERIA_H
#define ZELDB_MAPOBJECTSSELECTIONCRITERIA_H

#include <zeldb/MapObjectsRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

class MapObjectsSelectionCriteria : public SelectionCriteria
{
public:
    void NameEqualsTo(const QString &value)
    {
        setCondition(MapObjectsRecord::FieldName, Comparison::Equal, value);
    }
};

} // namespace zeldb

#endif // ZELDB_MAPOBJECTSSELECTIONCRITERIA_H
