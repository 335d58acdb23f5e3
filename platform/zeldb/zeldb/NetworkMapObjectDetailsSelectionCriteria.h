#ifndef ZELDB_NETWORKMAPOBJECTDETAILSSELECTIONCRITERIA_H
#define ZELDB_NETWORKMAPOBJECTDETAILSSELECTIONCRITERIA_H

#include <zeldb/NetworkMapObjectDetailsRecord.h>
#include <zeldb/NetworkMapObjectsRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

/// The conditions the device details of NetworkMapObjectDetailsTable are selected by (see
/// SelectionCriteria): each setter sets one, and a row must meet them all. A plain value:
/// copies are independent; use one object on one thread at a time.
class NetworkMapObjectDetailsSelectionCriteria : public SelectionCriteria
{
public:
    /// Selects the details of the device with id VALUE.
    void NetworkMapObjectIdEqualsTo(unsigned value)
    {
        setCondition(NetworkMapObjectDetailsRecord::FieldNetworkMapObjectId, Comparison::Equal,
                     value);
    }
    /// Selects the details of every device of the map with id VALUE: one query for a whole
    /// map. It may be set beside NetworkMapObjectIdEqualsTo().
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
    /// Orders the rows by device id, those of one device by id. Grouped by device, the order
    /// their index keeps: a whole map's details in id order would be sorted by SQLite first,
    /// and that sort grows faster than the map.
    void OrderByNetworkMapObjectId()
    {
        setOrder(NetworkMapObjectDetailsRecord::FieldNetworkMapObjectId);
    }
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPOBJECTDETAILSSELECTIONCRITERIA_H
