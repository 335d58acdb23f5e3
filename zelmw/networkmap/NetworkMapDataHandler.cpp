#include <zelmw/networkmap/NetworkMapDataHandler_p.h>

#include <QDateTime>

namespace zelmw {

using zeldb::NetworkMapsRecord;

NetworkMapDataHandler::NetworkMapDataHandler()
    : m_table(getNetworkMapsTable())
{ }

NetworkMapDataHandler::RecordPtr NetworkMapDataHandler::addRecord(const QString &serial,
                                                                  const QString &name)
{
    if (serial.isEmpty() || name.isEmpty())
        return RecordPtr();
    NetworkMapsRecord record;
    record.setSerial(serial);
    record.setName(name);
    record.setIsActive(true);
    record.setIsDefault(true);
    record.setIsInUse(true);
    record.setIsHistoryMap(true);
    record.setCreateDate(QDateTime::currentDateTime());
    return add(m_table, record);
}

NetworkMapDataHandler::RecordPtr NetworkMapDataHandler::getRecord(int id)
{
    return getById<NetworkMapsRecord>(m_table, unsigned(id));
}

NetworkMapDataHandler::RecordPtr NetworkMapDataHandler::getRecordBySerial(const QString &serial)
{
    zeldb::NetworkMapsSelectionCriteria criteria;
    criteria.SerialEqualsTo(serial);
    return getFirstWhere<NetworkMapsRecord>(m_table, criteria);
}

bool NetworkMapDataHandler::getIds(QList<int> &ids)
{
    ids.clear();
    const bool read = forEachWhere<NetworkMapsRecord>(
        m_table, zeldb::NetworkMapsSelectionCriteria(),
        [&](const NetworkMapsRecord &row) { ids.append(int(row.Id())); });
    if (!read)
        ids.clear();
    return read;
}

bool NetworkMapDataHandler::updateRecord(const QMap<int, QVariant> &fields)
{
    return updateFields<NetworkMapsRecord>(m_table, fields);
}

bool NetworkMapDataHandler::deleteRecord(int id)
{
    return deleteById(m_table, unsigned(id));
}

} // namespace zelmw
