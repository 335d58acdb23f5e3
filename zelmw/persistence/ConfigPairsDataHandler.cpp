#include <zelmw/persistence/ConfigPairsDataHandler_p.h>

namespace zelmw {

using zeldb::ConfigurationPairsRecord;

ConfigPairsDataHandler::ConfigPairsDataHandler()
    : m_table(getConfigurationPairsTable())
{ }

ConfigPairsDataHandler::RecordPtr ConfigPairsDataHandler::getRecord(unsigned id)
{
    return getById<ConfigurationPairsRecord>(m_table, id);
}

ConfigPairsDataHandler::RecordPtr ConfigPairsDataHandler::getRecordByKeyName(const QString &key)
{
    zeldb::ConfigurationPairsSelectionCriteria criteria;
    criteria.ConfigKeyNameEqualsTo(key);
    return getFirstWhere<ConfigurationPairsRecord>(m_table, criteria);
}

bool ConfigPairsDataHandler::getEntries(QMap<QString, QString> &entries)
{
    entries.clear();
    const bool read = forEachWhere<ConfigurationPairsRecord>(
        m_table, zeldb::ConfigurationPairsSelectionCriteria(),
        [&](const ConfigurationPairsRecord &row) {
            entries.insert(row.ConfigKeyName(), row.ConfigKeyValue());
        });
    if (!read)
        entries.clear();
    return read;
}

ConfigPairsDataHandler::RecordPtr ConfigPairsDataHandler::addRecord(const QString &key,
                                                                    const QString &value)
{
    if (key.isEmpty() || getRecordByKeyName(key))
        return RecordPtr();
    ConfigurationPairsRecord record;
    record.setConfigKeyName(key);
    record.setConfigKeyValue(value);
    return add(m_table, record);
}

bool ConfigPairsDataHandler::updateRecord(const QMap<int, QVariant> &fields)
{
    return updateFields<ConfigurationPairsRecord>(m_table, fields);
}

bool ConfigPairsDataHandler::deleteRecord(unsigned id)
{
    return deleteById(m_table, id);
}

} // namespace zelmw
