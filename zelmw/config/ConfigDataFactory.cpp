#include <zelmw/config/ConfigDataFactory.h>

#include <zelmw/networkmap/ModelLock_p.h>
#include <zelmw/persistence/ConfigPairsDataHandler_p.h>

namespace zelmw {

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

boost::shared_ptr<ConfigurationData> entityFromRecord(const ConfigPairsDataHandler::RecordPtr &record)
{
    return record ? boost::shared_ptr<ConfigurationData>(new ConfigurationData(record))
                  : boost::shared_ptr<ConfigurationData>();
}

} // namespace

ConfigDataFactory::ConfigDataFactory() = default;

ConfigDataFactory::ConfigDataFactory(const ConfigDataFactory &other)
{
    Lock lock(other.m_mutex);
    m_repository = other.m_repository;
}

ConfigDataFactory &ConfigDataFactory::operator=(const ConfigDataFactory &other)
{
    if (this != &other) {
        std::scoped_lock lock(m_mutex, other.m_mutex);
        m_repository = other.m_repository;
    }
    return *this;
}

boost::shared_ptr<ConfigDataFactory> ConfigDataFactory::getInstance()
{
    static const boost::shared_ptr<ConfigDataFactory> instance(new ConfigDataFactory);
    return instance;
}

boost::shared_ptr<ConfigurationData> ConfigDataFactory::getConfigData(int id)
{
    Lock lock(m_mutex);
    const auto cached = m_repository.constFind(id);
    if (cached != m_repository.constEnd())
        return cached.value();
    const boost::shared_ptr<ConfigurationData> loaded = loadFlyweight(id);
    addToRepository(loaded);
    return loaded;
}

boost::shared_ptr<ConfigurationData> ConfigDataFactory::getConfigData(const QString &key)
{
    Lock lock(m_mutex);
    for (const boost::shared_ptr<ConfigurationData> &data : qAsConst(m_repository)) {
        if (data->getKeyName() == key)
            return data;
    }
    const boost::shared_ptr<ConfigurationData> loaded = loadFlyweight(key);
    addToRepository(loaded);
    return loaded;
}

QString ConfigDataFactory::getConfigValue(const QString &key)
{
    Lock lock(m_mutex);
    const boost::shared_ptr<ConfigurationData> data = getConfigData(key);
    return data ? data->getValue() : QString();
}

boost::shared_ptr<ConfigurationData> ConfigDataFactory::addConfigData(const QString &key,
                                                                      const QString &value)
{
    // Writes take the model lock first: every store transaction begins inside it, so a
    // writer never holds this lock while it waits for a transaction that waits for it.
    const ModelLock modelLock;
    Lock lock(m_mutex);
    if (getConfigData(key))
        return boost::shared_ptr<ConfigurationData>();
    const boost::shared_ptr<ConfigurationData> added
        = entityFromRecord(ConfigPairsDataHandler().addRecord(key, value));
    addToRepository(added);
    return added;
}

bool ConfigDataFactory::saveConfigData(const QString &key, const QString &value)
{
    // Writes take the model lock first: every store transaction begins inside it, so a
    // writer never holds this lock while it waits for a transaction that waits for it.
    const ModelLock modelLock;
    Lock lock(m_mutex);
    const boost::shared_ptr<ConfigurationData> data = getConfigData(key);
    if (!data)
        return bool(addConfigData(key, value));
    const QString stored = data->getValue();
    data->setValue(value);
    const bool saved = data->saveData();
    // A value that did not reach the table must not be served as the setting: the next
    // lookup reads the table again.
    if (!saved && data->getValue() != stored)
        m_repository.remove(data->getId());
    return saved;
}

boost::shared_ptr<ConfigurationData> ConfigDataFactory::deleteConfigData(int id)
{
    // Writes take the model lock first: every store transaction begins inside it, so a
    // writer never holds this lock while it waits for a transaction that waits for it.
    const ModelLock modelLock;
    Lock lock(m_mutex);
    const boost::shared_ptr<ConfigurationData> data = getConfigData(id);
    if (data) {
        data->deleteData();
        m_repository.remove(id);
    }
    return data;
}

boost::shared_ptr<ConfigurationData> ConfigDataFactory::deleteConfigData(const QString &key)
{
    // Writes take the model lock first: every store transaction begins inside it, so a
    // writer never holds this lock while it waits for a transaction that waits for it.
    const ModelLock modelLock;
    Lock lock(m_mutex);
    const boost::shared_ptr<ConfigurationData> data = getConfigData(key);
    if (data) {
        data->deleteData();
        m_repository.remove(data->getId());
    }
    return data;
}

bool ConfigDataFactory::isKeyExists(const QString &key)
{
    return bool(getConfigData(key));
}

void ConfigDataFactory::clear()
{
    Lock lock(m_mutex);
    m_repository.clear();
}

bool ConfigDataFactory::isEmpty() const
{
    Lock lock(m_mutex);
    return m_repository.isEmpty();
}

int ConfigDataFactory::size() const
{
    Lock lock(m_mutex);
    return m_repository.size();
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
    if (!data)
        return;
    Lock lock(m_mutex);
    m_repository.insert(data->getId(), data);
}

} // namespace zelmw
