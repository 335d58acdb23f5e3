#include <zelmw/networkmap/NetworkMapObjectDataHandler_p.h>

namespace zelmw {

using zeldb::NetworkMapObjectsRecord;

NetworkMapObjectDataHandler::NetworkMapObjectDataHandler()
    : m_table(getNetworkMapObjectsTable())
{ }

NetworkMapObjectDataHandler::RecordPtr
NetworkMapObjectDataHandler::addRecord(int mapObjectId, int networkMapId, const QString &name,
                                       const QString &mac, const QString &ip, bool isConnected)
{
    if (name.isEmpty() || mac.isEmpty())
        return RecordPtr();
    NetworkMapObjectsRecord record;
    record.setMapObjectId(unsigned(mapObjectId));
    record.setNetworkMapId(unsigned(networkMapId));
    record.setName(name);
    record.setMacAddress(mac);
    record.setIpAddress(ip);
    record.setIsConnected(isConnected);
    record.setIsActive(true);
    record.setIsHistoryObject(false);
    return add(m_table, record);
}

NetworkMapObjectDataHandler::RecordPtr NetworkMapObjectDataHandler::getRecord(int id)
{
    return getById<NetworkMapObjectsRecord>(m_table, unsigned(id));
}

QVector<NetworkMapObjectDataHandler::RecordPtr>
NetworkMapObjectDataHandler::getRecordsByNetworkMapId(int networkMapId)
{
    zeldb::NetworkMapObjectsSelectionCriteria criteria;
    criteria.NetworkMapIdEqualsTo(unsigned(networkMapId));
    return getWhere<NetworkMapObjectsRecord>(m_table, criteria);
}

bool NetworkMapObjectDataHandler::updateRecord(const QMap<int, QVariant> &fields)
{
    return updateFields<NetworkMapObjectsRecord>(m_table, fields);
}

bool NetworkMapObjectDataHandler::deleteRecord(int id)
{
    return deleteById(m_table, unsigned(id));
}

} // namespace zelmw
