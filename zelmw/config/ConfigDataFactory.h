#ifndef ZELMW_CONFIG_CONFIGDATAFACTORY_H
#define ZELMW_CONFIG_CONFIGDATAFACTORY_H

#include <zelmw/config/ConfigurationData.h>
#include <zelmw/zelmw_export.h>

#include <QMap>
#include <QString>
#include <boost/shared_ptr.hpp>

#include <memory>

namespace zelmw {

// The process-wide configuration store: reads and writes settings by key. It caches the
// entries asked for since the last clear(), by id; lookups that miss the cache read the
// table. Every operation holds the factory's own lock, so the application's thread and the
// discovery thread may use it at once.
class ZELMW_EXPORT ConfigDataFactory
{
public:
    static boost::shared_ptr<ConfigDataFactory> getInstance();

    // A copy copies the cache: it shares the cached entries, not later additions.
    ConfigDataFactory(const ConfigDataFactory &other);
    ConfigDataFactory &operator=(const ConfigDataFactory &other);
    ~ConfigDataFactory();

    boost::shared_ptr<ConfigurationData> getConfigData(int id);
    // Keys are compared case-sensitively.
    boost::shared_ptr<ConfigurationData> getConfigData(const QString &key);
    // A null string when the key is not stored; no default is supplied.
    QString getConfigValue(const QString &key);

    // Null when the key is empty or already stored.
    boost::shared_ptr<ConfigurationData> addConfigData(const QString &key, const QString &value);
    // Adds the key or changes its value; false when nothing was written, also when the
    // value was already stored.
    bool saveConfigData(const QString &key, const QString &value);

    // The entry leaves the cache even when its row could not be deleted.
    boost::shared_ptr<ConfigurationData> deleteConfigData(int id);
    boost::shared_ptr<ConfigurationData> deleteConfigData(const QString &key);

    // Every stored entry, key to value, into ENTRIES, read from the table (not the cache);
    // false, with ENTRIES empty, when the store cannot be read. An empty table answers true.
    bool getConfigEntries(QMap<QString, QString> &entries);

    // Loads the entry into the cache when it is stored.
    bool isKeyExists(const QString &key);

    // Empties the cache; the table is untouched.
    void clear();
    bool isEmpty() const;
    // Cached entries, not stored rows.
    int size() const;

protected:
    boost::shared_ptr<ConfigurationData> loadFlyweight(int id);
    boost::shared_ptr<ConfigurationData> loadFlyweight(const QString &key);
    void addToRepository(const boost::shared_ptr<ConfigurationData> &data);

private:
    ConfigDataFactory();

    class Implementation;
    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_CONFIG_CONFIGDATAFACTORY_H
