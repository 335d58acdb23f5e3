#include "StoreReader.h"

#include <zeldb/ConfigurationPairsTable.h>
#include <zeldb/NetworkMapsTable.h>

bool StoreReader::mapIds(QList<int> &ids)
{
    QList<zeldb::NetworkMapsRecord> records;
    if (!open() || !getNetworkMapsTable()->Get(records, zeldb::NetworkMapsSelectionCriteria()))
        return false;
    for (const zeldb::NetworkMapsRecord &record : qAsConst(records))
        ids.append(int(record.Id()));
    std::sort(ids.begin(), ids.end());
    return true;
}

bool StoreReader::configEntries(QList<QPair<QString, QString>> &entries)
{
    QList<zeldb::ConfigurationPairsRecord> records;
    if (!open()
        || !getConfigurationPairsTable()->Get(records,
                                              zeldb::ConfigurationPairsSelectionCriteria()))
        return false;
    for (const zeldb::ConfigurationPairsRecord &record : qAsConst(records))
        entries.append(qMakePair(record.ConfigKeyName(), record.ConfigKeyValue()));
    std::sort(entries.begin(), entries.end());
    return true;
}
