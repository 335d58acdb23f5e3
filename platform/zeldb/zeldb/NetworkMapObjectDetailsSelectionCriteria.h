#ifndef ZELDB_NETWORKMAPOBJECTDETAILSSELECTIONCRITERIA_H
#define ZELDB_NETWORKMAPOBJECTDETAILSSELECTIONCRITERIA_H

#include <zeldb/NetworkMapObjectDetailsRecord.h>
#include <zeldb/NetworkMapObjectsRecord.h>
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
    // The details of every device of the map: one query for a whole map.
    void NetworkMapIdEqualsTo(unsigned value)
    {
        const TableSchema &devices = NetworkMapObjectsRecord::schema();
        setCondition(NetworkMapObjectDetailsRecord::FieldNetworkMapObjectId,
                     Comparison::InSelection, value,
                     QLatin1String("SELECT ") + devices.field(0).name + QLatin1String(" FROM ")
                         + devices.tableName() + QLatin1String(" WHERE ")
                         + devices.field(NetworkMapObjectsRecord::FieldNetworkMapId).name
                         + QLatin1String(" = ?"));
    }
    // Grouped by device, the order their index keeps: a whole map's details in id order
    // would be sorted by SQLite first, and that sort grows faster than the map.
    void OrderByNetworkMapObjectId()
    {
        setOrder(NetworkMapObjectDetailsRecord::FieldNetworkMapObjectId);
    }
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPOBJECTDETAILSSELECTIONCRITERIA_H
