#ifndef ZELMW_CONFIG_CONFIGDATAFACTORY_H
#define ZELMW_CONFIG_CONFIGDATAFACTORY_H

#include <zelmw/config/ConfigurationData.h>
#include <zelmw/zelmw_export.h>

#include <QMap>
#include <QString>
#include <boost/shared_ptr.hpp>

#include <memory>

namespace zelmw {

/// The process-wide configuration store: reads and writes settings by key. It caches the
/// entries asked for since the last clear(), by id; lookups that miss the cache read the
/// table. Every operation holds the factory's own lock, so the application's thread and the
/// discovery thread may use it at once; every write is one unit of work, stored whole or not
/// at all, with the cache following the store.
class ZELMW_EXPORT ConfigDataFactory
{
public:
    /// The process-wide instance, created on first use; never null.
    static boost::shared_ptr<ConfigDataFactory> getInstance();

    ///@{
    /// A copy copies the cache: it shares the cached entries, not later additions.
    ConfigDataFactory(const ConfigDataFactory &other);
    ConfigDataFactory &operator=(const ConfigDataFactory &other);
    ///@}
    /// Destroys this factory and its cache; entries handed out stay valid.
    ~ConfigDataFactory();

    /// The entry with @p id: cached, else read from the table and cached; null when there is
    /// no such row or the store cannot be read.
    boost::shared_ptr<ConfigurationData> getConfigData(int id);
    /// The entry of @p key: cached, else read from the table and cached; null when the key is
    /// not stored or the store cannot be read. Keys are compared case-sensitively.
    boost::shared_ptr<ConfigurationData> getConfigData(const QString &key);
    /// The value of @p key; a null string when the key is not stored; no default is supplied.
    QString getConfigValue(const QString &key);

    /// Stores a new entry and caches it; null when the key is empty, already stored, or the
    /// insert fails.
    boost::shared_ptr<ConfigurationData> addConfigData(const QString &key, const QString &value);
    /// Adds the key or changes its value; false when nothing was written, also when the
    /// value was already stored. A failed write leaves the old value.
    bool saveConfigData(const QString &key, const QString &value);

    ///@{
    /// Deletes the entry's row and drops the entry from the cache. Returns the entry, or null
    /// when there is none or the store refuses the delete (the entry then stays cached). An
    /// entry whose row was gone already leaves the cache and is returned.
    boost::shared_ptr<ConfigurationData> deleteConfigData(int id);
    boost::shared_ptr<ConfigurationData> deleteConfigData(const QString &key);
    ///@}

    /// Every stored entry, key to value, into @p entries, read from the table (not the
    /// cache); false, with @p entries empty, when the store cannot be read. An empty table
    /// answers true.
    bool getConfigEntries(QMap<QString, QString> &entries);

    /// Whether @p key is stored; loads the entry into the cache when it is. False also when
    /// the store cannot be read.
    bool isKeyExists(const QString &key);

    /// Empties the cache; the table is untouched, and entries handed out stay valid.
    void clear();
    /// Whether the cache is empty (not the table).
    bool isEmpty() const;
    /// Cached entries, not stored rows.
    int size() const;

protected:
    ///@{
    /// Reads the entry with @p id or @p key from the table, without caching it; null when
    /// there is none. Called under the factory's lock.
    boost::shared_ptr<ConfigurationData> loadFlyweight(int id);
    boost::shared_ptr<ConfigurationData> loadFlyweight(const QString &key);
    ///@}
    /// Enters @p data in the cache under its id, replacing an entry with that id; null is
    /// ignored.
    void addToRepository(const boost::shared_ptr<ConfigurationData> &data);

private:
    ConfigDataFactory();

    class Implementation;
    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_CONFIG_CONFIGDATAFACTORY_H
