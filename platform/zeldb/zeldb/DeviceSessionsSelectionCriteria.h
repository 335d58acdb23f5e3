#ifndef ZELDB_DEVICESESSIONSSELECTIONCRITERIA_H
#define ZELDB_DEVICESESSIONSSELECTIONCRITERIA_H

#include <zeldb/DeviceSessionsRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

/// The conditions the rows of DeviceSessionsTable are selected by (see SelectionCriteria):
/// each setter sets one, and a row must meet them all. A plain value: copies are independent;
/// use one object on one thread at a time.
class DeviceSessionsSelectionCriteria : public SelectionCriteria
{
public:
    /// Selects the sessions on the map with id VALUE.
    void NetworkMapIdEqualsTo(unsigned value)
    {
        setCondition(DeviceSessionsRecord::FieldNetworkMapId, Comparison::Equal, value);
    }
    /// Selects the sessions of the device with MAC address VALUE (stored upper-case).
    void MacAddressEqualsTo(const QString &value)
    {
        setCondition(DeviceSessionsRecord::FieldMacAddress, Comparison::Equal, value);
    }
    /// Selects the open sessions (VALUE true) or the ended ones.
    void IsOpenEqualsTo(bool value)
    {
        setCondition(DeviceSessionsRecord::FieldIsOpen, Comparison::Equal, value);
    }
    /// Selects the sessions that ended before VALUE, a UTC time as every row holds.
    void ConnectedToBefore(const QDateTime &value)
    {
        setCondition(DeviceSessionsRecord::FieldConnectedTo, Comparison::Less, value);
    }
    /// Selects the sessions of the MAC address VALUE, on any map, but its KEEP newest.
    void BeyondNewestOfMac(const QString &value, int keep)
    {
        const TableSchema &schema = DeviceSessionsRecord::schema();
        setCondition(DeviceSessionsRecord::FieldId, Comparison::InSelection, value,
                     QLatin1String("SELECT Id FROM ") + schema.tableName()
                         + QLatin1String(" WHERE MacAddress = ? ORDER BY Id DESC LIMIT -1 OFFSET ")
                         + QString::number(keep));
    }
};

} // namespace zeldb

#endif // ZELDB_DEVICESESSIONSSELECTIONCRITERIA_H
