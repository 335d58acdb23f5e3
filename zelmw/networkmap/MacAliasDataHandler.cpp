#include <zelmw/networkmap/MacAliasDataHandler_p.h>

#include <QDateTime>

namespace zelmw {

using zeldb::MacAliasesRecord;
using zeldb::MacAliasesSelectionCriteria;

MacAliasDataHandler::MacAliasDataHandler()
    : m_table(getMacAliasesTable())
{ }

bool MacAliasDataHandler::addRecord(int networkMapId, const QString &mac, int deviceId)
{
    MacAliasesRecord record;
    record.setNetworkMapId(unsigned(networkMapId));
    record.setMacAddress(mac);
    record.setNetworkMapObjectId(unsigned(deviceId));
    record.setCreateDate(QDateTime::currentDateTimeUtc());
    return bool(add(m_table, record));
}

bool MacAliasDataHandler::getRecords(int networkMapId, QHash<QString, int> &aliases)
{
    MacAliasesSelectionCriteria criteria;
    criteria.NetworkMapIdEqualsTo(unsigned(networkMapId));
    return forEachWhere<MacAliasesRecord>(m_table, criteria, [&](const MacAliasesRecord &row) {
        aliases.insert(row.MacAddress(), int(row.NetworkMapObjectId()));
    });
}

bool MacAliasDataHandler::deleteRecordsOf(int networkMapId, int deviceId)
{
    MacAliasesSelectionCriteria criteria;
    criteria.NetworkMapIdEqualsTo(unsigned(networkMapId));
    criteria.NetworkMapObjectIdEqualsTo(unsigned(deviceId));
    return withOpenDatabase([&] { return m_table->Delete(criteria); }, false);
}

} // namespace zelmw
