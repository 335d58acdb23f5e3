#ifndef ZELDB_NETWORKMAPOBJECTDETAILSSELECTIONCRITERIA_H
#define ZELDB_NETWORKMAPOBJECTDETAILSSELECTIONCRITERIA_H

#include <zeldb/NetworkMapObjectDetailsRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

class NetworkMapObjectDetailsSelectionCriteria : public SelectionCriteria
{
public:
    void NetworkMapObjectIdEqualsTo(unsigned value)
    {
        setCondition(NetworkMapObjectDetailsRecord::FieldNetworkMapObjectId, Comparison::Equal,
                     value);
    }
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPOBJECTDETAILSSELECTIONCRITERIA_H
