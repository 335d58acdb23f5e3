#include <zelmw/config/ConfigurationData.h>

#include <zelmw/persistence/ConfigPairsDataHandler_p.h>

#include <stdexcept>

namespace zelmw {

using zeldb::ConfigurationPairsRecord;

ConfigurationData::ConfigurationData(const boost::shared_ptr<ConfigurationPairsRecord> &record)
{
    setRecord(record);
}

int ConfigurationData::getId() const
{
    return int(m_record->Id());
}

QString ConfigurationData::getKeyName() const
{
    return m_record->ConfigKeyName();
}

QString ConfigurationData::getValue() const
{
    return m_record->ConfigKeyValue();
}

void ConfigurationData::setKeyName(const QString &keyName)
{
    m_dirtyFields.set(*m_record, ConfigurationPairsRecord::FieldConfigKeyName, keyName);
}

void ConfigurationData::setValue(const QString &value)
{
    m_dirtyFields.set(*m_record, ConfigurationPairsRecord::FieldConfigKeyValue, value);
}

bool ConfigurationData::saveData()
{
    return m_dirtyFields.save<ConfigPairsDataHandler>(*m_record);
}

bool ConfigurationData::deleteData()
{
    return m_dirtyFields.remove<ConfigPairsDataHandler>(*m_record);
}

void ConfigurationData::setRecord(const boost::shared_ptr<ConfigurationPairsRecord> &record)
{
    if (!record)
        throw std::invalid_argument("ConfigurationData setRecord failed");
    m_record = record;
}

} // namespace zelmw
