#ifndef ZELDB_NETWORKMAPOBJECTSSELECTIONCRITERIA_H
#define ZELDB_NETWORKMAPOBJECTSSELECTIONCRITERIA_H

#include <zeldb/NetworkMapObjectsRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

class NetworkMapObjectsSelectionCriteria : public SelectionCriteria
{
public:
    void NetworkMapIdEqualsTo(unsigned value)
    {
        setCondition(NetworkMapObjectsRecord::FieldNetworkMapId, Comparison::Equal, value);
    }
    void MapObjectIdEqualsTo(unsigned value)
    {
        setCondition(NetworkMapObjectsRecord::FieldMapObjectId, Comparison::Equal, value);
    }
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPOBJECTSSELECTIONCRITERIA_H
