#include <zelmw/config/ConfigurationData.h>

#include <zelmw/networkmap/ModelLock_p.h>
#include <zelmw/persistence/ConfigPairsDataHandler_p.h>
#include <zelmw/persistence/DirtyFields_p.h>

#include <stdexcept>

namespace zelmw {

using zeldb::ConfigurationPairsRecord;

class ConfigurationData::Implementation
{
public:
    boost::shared_ptr<ConfigurationPairsRecord> m_record;
    DirtyFields m_dirtyFields;
};

ConfigurationData::ConfigurationData(const boost::shared_ptr<ConfigurationPairsRecord> &record)
    : d(new Implementation)
{
    if (!record)
        throw std::invalid_argument("ConfigurationData setRecord failed");
    d->m_record = record;
}

ConfigurationData::ConfigurationData(const ConfigurationData &other)
    : d(new Implementation(*other.d))
{
}

ConfigurationData &ConfigurationData::operator=(const ConfigurationData &other)
{
    *d = *other.d;
    return *this;
}

ConfigurationData::~ConfigurationData() = default;

int ConfigurationData::getId() const
{
    return int(d->m_record->Id());
}

QString ConfigurationData::getKeyName() const
{
    return d->m_record->ConfigKeyName();
}

QString ConfigurationData::getValue() const
{
    return d->m_record->ConfigKeyValue();
}

void ConfigurationData::setKeyName(const QString &keyName)
{
    d->m_dirtyFields.set(*d->m_record, ConfigurationPairsRecord::FieldConfigKeyName, keyName);
}

void ConfigurationData::setValue(const QString &value)
{
    d->m_dirtyFields.set(*d->m_record, ConfigurationPairsRecord::FieldConfigKeyValue, value);
}

bool ConfigurationData::saveData()
{
    // The model lock first, as every write (see ModelLock).
    const ModelLock modelLock;
    return d->m_dirtyFields.save<ConfigPairsDataHandler>(*d->m_record);
}

bool ConfigurationData::deleteData()
{
    // The model lock first, as every write (see ModelLock).
    const ModelLock modelLock;
    return d->m_dirtyFields.remove<ConfigPairsDataHandler>(*d->m_record);
}

} // namespace zelmw
