#include <zelmw/networkmap/NetworkMapObjectDetailDataHandler_p.h>

namespace zelmw {

using zeldb::NetworkMapObjectDetailsRecord;

NetworkMapObjectDetailDataHandler::NetworkMapObjectDetailDataHandler()
    : m_table(getNetworkMapObjectDetailsTable())
{ }

NetworkMapObjectDetailDataHandler::RecordPtr
NetworkMapObjectDetailDataHandler::addRecord(int networkMapObjectId, int mapObjectParameterId,
                                             const QString &value)
{
    if (value.isEmpty())
        return RecordPtr();
    NetworkMapObjectDetailsRecord record;
    record.setNetworkMapObjectId(unsigned(networkMapObjectId));
    record.setMapObjectParameterId(unsigned(mapObjectParameterId));
    record.setValue(value);
    return add(m_table, record);
}

QVector<NetworkMapObjectDetailDataHandler::RecordPtr>
NetworkMapObjectDetailDataHandler::getRecordsByNetworkMapObjectId(int networkMapObjectId)
{
    zeldb::NetworkMapObjectDetailsSelectionCriteria criteria;
    criteria.NetworkMapObjectIdEqualsTo(unsigned(networkMapObjectId));
    return getWhere<NetworkMapObjectDetailsRecord>(m_table, criteria);
}

QVector<NetworkMapObjectDetailDataHandler::RecordPtr>
NetworkMapObjectDetailDataHandler::getRecordsByNetworkMapId(int networkMapId)
{
    zeldb::NetworkMapObjectDetailsSelectionCriteria criteria;
    criteria.NetworkMapIdEqualsTo(unsigned(networkMapId));
    criteria.OrderByNetworkMapObjectId();
    return getWhere<NetworkMapObjectDetailsRecord>(m_table, criteria);
}

bool NetworkMapObjectDetailDataHandler::updateRecord(const QMap<int, QVariant> &fields)
{
    return updateFields<NetworkMapObjectDetailsRecord>(m_table, fields);
}

bool NetworkMapObjectDetailDataHandler::deleteRecord(int id)
{
    return deleteById(m_table, unsigned(id));
}

bool NetworkMapObjectDetailDataHandler::deleteRecordsOf(int networkMapObjectId)
{
    zeldb::NetworkMapObjectDetailsSelectionCriteria criteria;
    criteria.NetworkMapObjectIdEqualsTo(unsigned(networkMapObjectId));
    return withOpenDatabase([&] { return m_table->Delete(criteria); }, false);
}

} // namespace zelmw
