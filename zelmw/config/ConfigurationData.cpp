#include <zelmw/config/ConfigurationData.h>

#include <zelmw/persistence/ConfigPairsDataHandler_p.h>
#include <zelmw/persistence/DirtyFields_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>

#include <stdexcept>

namespace zelmw {

using zeldb::ConfigurationPairsRecord;

class ConfigurationData::Implementation
{
public:
    boost::shared_ptr<ConfigurationPairsRecord> m_record;
    DirtyFields m_dirtyFields;

    Implementation() = default;
    Implementation(const Implementation &) = default;
    Implementation &operator=(const Implementation &) = default;
    ~Implementation() { UnitOfWork::forget(this); }

    // Before a change inside a unit of work: restored if the unit fails.
    void remember()
    {
        UnitOfWork::remember(this, [this] {
            return [this, record = *m_record, dirtyFields = m_dirtyFields] {
                *m_record = record;
                m_dirtyFields = dirtyFields;
            };
        });
    }
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
{ }

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
    d->remember();
    d->m_dirtyFields.set(*d->m_record, ConfigurationPairsRecord::FieldConfigKeyName, keyName);
}

void ConfigurationData::setValue(const QString &value)
{
    d->remember();
    d->m_dirtyFields.set(*d->m_record, ConfigurationPairsRecord::FieldConfigKeyValue, value);
}

bool ConfigurationData::saveData()
{
    UnitOfWork unit;
    d->remember();
    return unit.finish(d->m_dirtyFields.save<ConfigPairsDataHandler>(*d->m_record));
}

bool ConfigurationData::deleteData()
{
    UnitOfWork unit;
    d->remember();
    return unit.finish(d->m_dirtyFields.remove<ConfigPairsDataHandler>(*d->m_record));
}

} // namespace zelmw
