#ifndef ZELDB_DELETEDDEVICESSELECTIONCRITERIA_H
#define ZELDB_DELETEDDEVICESSELECTIONCRITERIA_H

#include <zeldb/DeletedDevicesRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

/// The conditions the rows of DeletedDevicesTable are selected by (see SelectionCriteria):
/// each setter sets one, and a row must meet them all. A plain value: copies are independent;
/// use one object on one thread at a time.
class DeletedDevicesSelectionCriteria : public SelectionCriteria
{
public:
    /// Selects the devices that left the map with id VALUE.
    void NetworkMapIdEqualsTo(unsigned value)
    {
        setCondition(DeletedDevicesRecord::FieldNetworkMapId, Comparison::Equal, value);
    }
    /// Selects the devices with MAC address VALUE, letter case included (stored upper-case).
    void MacAddressEqualsTo(const QString &value)
    {
        setCondition(DeletedDevicesRecord::FieldMacAddress, Comparison::Equal, value);
    }
    /// Selects the devices that left before VALUE, a UTC time as every row holds.
    void CreateDateBefore(const QDateTime &value)
    {
        setCondition(DeletedDevicesRecord::FieldCreateDate, Comparison::Less, value);
    }
    /// Selects the devices of the map with id VALUE but its KEEP newest.
    void BeyondNewestOfMap(unsigned value, int keep)
    {
        const TableSchema &schema = DeletedDevicesRecord::schema();
        setCondition(DeletedDevicesRecord::FieldId, Comparison::InSelection, value,
                     QLatin1String("SELECT Id FROM ") + schema.tableName()
                         + QLatin1String(" WHERE NetworkMapId = ? ORDER BY Id DESC LIMIT -1 "
                                         "OFFSET ")
                         + QString::number(keep));
    }
};

} // namespace zeldb

#endif // ZELDB_DELETEDDEVICESSELECTIONCRITERIA_H
