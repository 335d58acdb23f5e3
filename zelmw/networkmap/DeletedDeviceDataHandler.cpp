#include <zelmw/networkmap/DeletedDeviceDataHandler_p.h>

namespace zelmw {

using zeldb::DeletedDevicesRecord;
using zeldb::DeletedDevicesSelectionCriteria;

DeletedDeviceDataHandler::DeletedDeviceDataHandler()
    : m_table(getDeletedDevicesTable())
{ }

bool DeletedDeviceDataHandler::addRecord(int networkMapId, const QString &mac,
                                         const QString &details, const QDateTime &leftAt)
{
    DeletedDevicesRecord record;
    record.setNetworkMapId(unsigned(networkMapId));
    record.setMacAddress(mac);
    record.setDetails(details);
    record.setCreateDate(leftAt);
    return bool(add(m_table, record));
}

DeletedDeviceDataHandler::RecordPtr DeletedDeviceDataHandler::getRecord(int networkMapId,
                                                                        const QString &mac)
{
    DeletedDevicesSelectionCriteria criteria;
    criteria.MacAddressEqualsTo(mac);
    criteria.NetworkMapIdEqualsTo(unsigned(networkMapId));
    const QVector<RecordPtr> records = getWhere<DeletedDevicesRecord>(m_table, criteria);
    return records.isEmpty() ? RecordPtr() : records.last();
}

bool DeletedDeviceDataHandler::hasRecords(int networkMapId)
{
    DeletedDevicesSelectionCriteria criteria;
    criteria.NetworkMapIdEqualsTo(unsigned(networkMapId));
    return withOpenDatabase(
        [&] {
            bool found = false;
            m_table->ForEach(criteria, [&](const DeletedDevicesRecord &) { found = true; });
            return found;
        },
        false);
}

bool DeletedDeviceDataHandler::deleteRecord(int id)
{
    return deleteById(m_table, unsigned(id));
}

bool DeletedDeviceDataHandler::deleteRecords(int networkMapId, const QString &mac)
{
    DeletedDevicesSelectionCriteria criteria;
    criteria.MacAddressEqualsTo(mac);
    criteria.NetworkMapIdEqualsTo(unsigned(networkMapId));
    return withOpenDatabase([&] { return m_table->Delete(criteria); }, false);
}

bool DeletedDeviceDataHandler::deleteBeyond(int networkMapId, int keep, const QDateTime &cutoff)
{
    DeletedDevicesSelectionCriteria beyond;
    beyond.BeyondNewestOfMap(unsigned(networkMapId), keep);
    DeletedDevicesSelectionCriteria old;
    old.CreateDateBefore(cutoff);
    return withOpenDatabase([&] { return m_table->Delete(beyond) && m_table->Delete(old); }, false);
}

} // namespace zelmw
