#include <zelmw/networkmap/DeviceSessionDataHandler_p.h>

namespace zelmw {

using zeldb::DeviceSessionsRecord;
using zeldb::DeviceSessionsSelectionCriteria;

DeviceSessionDataHandler::DeviceSessionDataHandler()
    : m_table(getDeviceSessionsTable())
{ }

bool DeviceSessionDataHandler::addRecord(int networkMapId, const QString &mac,
                                         const QDateTime &from)
{
    DeviceSessionsRecord record;
    record.setNetworkMapId(unsigned(networkMapId));
    record.setMacAddress(mac);
    record.setConnectedFrom(from);
    record.setIsOpen(true);
    return bool(add(m_table, record));
}

QVector<DeviceSessionDataHandler::RecordPtr>
DeviceSessionDataHandler::getRecords(int networkMapId, const QString &mac, bool openOnly)
{
    DeviceSessionsSelectionCriteria criteria;
    criteria.MacAddressEqualsTo(mac);
    criteria.NetworkMapIdEqualsTo(unsigned(networkMapId));
    if (openOnly)
        criteria.IsOpenEqualsTo(true);
    return getWhere<DeviceSessionsRecord>(m_table, criteria);
}

bool DeviceSessionDataHandler::closeRecord(const DeviceSessionsRecord &record, const QDateTime &to)
{
    DeviceSessionsRecord closed;
    closed.setId(record.Id());
    closed.setConnectedTo(to);
    closed.setIsOpen(false);
    return withOpenDatabase([&] { return m_table->Update(closed); }, false);
}

bool DeviceSessionDataHandler::deleteBeyond(const QString &mac, int keep, const QDateTime &cutoff)
{
    DeviceSessionsSelectionCriteria beyond;
    beyond.BeyondNewestOfMac(mac, keep);
    DeviceSessionsSelectionCriteria old;
    old.ConnectedToBefore(cutoff);
    return withOpenDatabase([&] { return m_table->Delete(beyond) && m_table->Delete(old); }, false);
}

} // namespace zelmw
