#ifndef ZELDB_NETWORKMAPOBJECTSSELECTIONCRITERIA_H
#define ZELDB_NETWORKMAPOBJECTSSELECTIONCRITERIA_H

#include <zeldb/NetworkMapObjectsRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

/// The conditions the devices of NetworkMapObjectsTable are selected by (see
/// SelectionCriteria): each setter sets one, and a row must meet them all. A plain value:
/// copies are independent; use one object on one thread at a time.
class NetworkMapObjectsSelectionCriteria : public SelectionCriteria
{
public:
    /// Selects the devices of the map with id VALUE.
    void NetworkMapIdEqualsTo(unsigned value)
    {
        setCondition(NetworkMapObjectsRecord::FieldNetworkMapId, Comparison::Equal, value);
    }
    /// Selects the devices of the device type with id VALUE.
    void MapObjectIdEqualsTo(unsigned value)
    {
        setCondition(NetworkMapObjectsRecord::FieldMapObjectId, Comparison::Equal, value);
    }
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPOBJECTSSELECTIONCRITERIA_H
