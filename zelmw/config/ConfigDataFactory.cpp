#include <zelmw/config/ConfigDataFactory.h>

#include <zelmw/persistence/ConfigPairsDataHandler_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/EntityCache_p.h>

#include <mutex>

namespace zelmw {

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

boost::shared_ptr<ConfigurationData>
entityFromRecord(const ConfigPairsDataHandler::RecordPtr &record)
{
    return record ? boost::shared_ptr<ConfigurationData>(new ConfigurationData(record))
                  : boost::shared_ptr<ConfigurationData>();
}

} // namespace

class ConfigDataFactory::Implementation
{
public:
    // Recursive: the public operations build on each other.
    mutable std::recursive_mutex mutex;
    EntityCache<ConfigurationData, std::recursive_mutex> cache { &mutex };
};

ConfigDataFactory::ConfigDataFactory()
    : d(new Implementation)
{ }

ConfigDataFactory::ConfigDataFactory(const ConfigDataFactory &other)
    : d(new Implementation)
{
    Lock lock(other.d->mutex);
    d->cache = other.d->cache;
}

ConfigDataFactory &ConfigDataFactory::operator=(const ConfigDataFactory &other)
{
    if (this != &other) {
        std::scoped_lock lock(d->mutex, other.d->mutex);
        d->cache = other.d->cache;
    }
    return *this;
}

ConfigDataFactory::~ConfigDataFactory() = default;

boost::shared_ptr<ConfigDataFactory> ConfigDataFactory::getInstance()
{
    static const boost::shared_ptr<ConfigDataFactory> instance(new ConfigDataFactory);
    return instance;
}

boost::shared_ptr<ConfigurationData> ConfigDataFactory::getConfigData(int id)
{
    Lock lock(d->mutex);
    return d->cache.getOrLoad(id, [&] { return loadFlyweight(id); });
}

boost::shared_ptr<ConfigurationData> ConfigDataFactory::getConfigData(const QString &key)
{
    Lock lock(d->mutex);
    if (const boost::shared_ptr<ConfigurationData> cached = d->cache.findFirst(
            [&](const ConfigurationData &data) { return data.getKeyName() == key; }))
        return cached;
    const boost::shared_ptr<ConfigurationData> loaded = loadFlyweight(key);
    addToRepository(loaded);
    return loaded;
}

QString ConfigDataFactory::getConfigValue(const QString &key)
{
    Lock lock(d->mutex);
    const boost::shared_ptr<ConfigurationData> data = getConfigData(key);
    return data ? data->getValue() : QString();
}

boost::shared_ptr<ConfigurationData> ConfigDataFactory::addConfigData(const QString &key,
                                                                      const QString &value)
{
    UnitOfWork unit;
    Lock lock(d->mutex);
    if (getConfigData(key))
        return boost::shared_ptr<ConfigurationData>();
    const boost::shared_ptr<ConfigurationData> added
        = entityFromRecord(ConfigPairsDataHandler().addRecord(key, value));
    addToRepository(added);
    return unit.finish(added);
}

bool ConfigDataFactory::saveConfigData(const QString &key, const QString &value)
{
    // The value and its row change together: a failed write leaves the old value.
    UnitOfWork unit;
    Lock lock(d->mutex);
    const boost::shared_ptr<ConfigurationData> data = getConfigData(key);
    if (!data)
        return unit.finish(bool(addConfigData(key, value)));
    if (data->getValue() == value)
        return false;
    data->setValue(value);
    if (data->saveData())
        return unit.commit();
    // Not in the table as it is: the next lookup reads the table again.
    unit.rollBack();
    d->cache.remove(data->getId());
    return false;
}

boost::shared_ptr<ConfigurationData> ConfigDataFactory::deleteConfigData(int id)
{
    UnitOfWork unit;
    Lock lock(d->mutex);
    const boost::shared_ptr<ConfigurationData> data = getConfigData(id);
    if (!data)
        return data;
    // A row already gone still leaves the cache; a failed delete puts it back and answers null.
    data->deleteData();
    d->cache.remove(id);
    return unit.finish(data);
}

boost::shared_ptr<ConfigurationData> ConfigDataFactory::deleteConfigData(const QString &key)
{
    UnitOfWork unit;
    Lock lock(d->mutex);
    const boost::shared_ptr<ConfigurationData> data = getConfigData(key);
    if (!data)
        return data;
    data->deleteData();
    d->cache.remove(data->getId());
    return unit.finish(data);
}

bool ConfigDataFactory::getConfigEntries(QMap<QString, QString> &entries)
{
    Lock lock(d->mutex);
    return ConfigPairsDataHandler().getEntries(entries);
}

bool ConfigDataFactory::isKeyExists(const QString &key)
{
    return bool(getConfigData(key));
}

void ConfigDataFactory::clear()
{
    Lock lock(d->mutex);
    d->cache.clear();
}

bool ConfigDataFactory::isEmpty() const
{
    Lock lock(d->mutex);
    return d->cache.isEmpty();
}

int ConfigDataFactory::size() const
{
    Lock lock(d->mutex);
    return d->cache.size();
}

boost::shared_ptr<ConfigurationData> ConfigDataFactory::loadFlyweight(int id)
{
    return entityFromRecord(ConfigPairsDataHandler().getRecord(unsigned(id)));
}

boost::shared_ptr<ConfigurationData> ConfigDataFactory::loadFlyweight(const QString &key)
{
    return entityFromRecord(ConfigPairsDataHandler().getRecordByKeyName(key));
}

void ConfigDataFactory::addToRepository(const boost::shared_ptr<ConfigurationData> &data)
{
    Lock lock(d->mutex);
    d->cache.add(data);
}

} // namespace zelmw
