#ifndef ZELMW_NETWORKMAP_NETWORKMAPFACTORY_H
#define ZELMW_NETWORKMAP_NETWORKMAPFACTORY_H

#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/zelmw_export.h>

#include <QList>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <memory>

namespace zelmw {

/// The process-wide repository of network maps: one shared map per stored map id, loaded with
/// its devices on first use.
///
/// Any thread may call any member: every operation holds the model lock, and a writing one is
/// one unit of work. A copy has a cache of its own holding the same map objects; the library
/// uses only getInstance()'s.
class ZELMW_EXPORT NetworkMapFactory
{
public:
    /// The process's repository.
    static boost::shared_ptr<NetworkMapFactory> getInstance();
    ///@{
    /// Copies the cache: the copy holds the same map objects.
    NetworkMapFactory(const NetworkMapFactory &other);
    NetworkMapFactory &operator=(const NetworkMapFactory &other);
    ///@}
    /// Drops the cache; maps held elsewhere live on.
    ~NetworkMapFactory();

    /// The map with ID: cached, else loaded with its devices and cached; null when there is no
    /// such row or the store cannot be read.
    NetworkMapSharedPtr getNetworkMap(int id);
    /// The map whose serial is "@MAC:" and MAC, as given: cached, else loaded and cached; null
    /// when there is none.
    NetworkMapSharedPtr getNetworkMap(const QString &mac);
    /// A new, empty map with the serial "@MAC:" and MAC, cached; SERIALNUMBER takes no part.
    /// Null when the MAC or the name is empty or the insert fails. It does not look for an
    /// existing map of that MAC: getNetworkMap() does.
    NetworkMapSharedPtr addNetworkMap(const QString &mac, const QString &serialNumber,
                                      const QString &name);
    /// Deletes the map's row (its devices stay) and forgets it, also as the map in use of
    /// InUseMapController. The map is answered also when its row could not be deleted; it
    /// then stays cached. Null when there is no such map.
    NetworkMapSharedPtr deleteNetworkMap(int id);
    /// The id of every stored map, ascending, into IDS, read from the store (not the cache);
    /// false, with IDS empty, when the store cannot be read. A store without maps answers true.
    bool getNetworkMapIds(QList<int> &ids);
    ///@{
    /// Whether getNetworkMap() finds a map; a map found is loaded and cached as it does.
    bool exists(int id);
    bool exists(const QString &mac);
    ///@}

    /// Whether the cache holds no map; the store is not asked.
    bool isEmpty() const;
    /// How many maps the cache holds; the store is not asked.
    int size() const;
    /// Empties the cache; the store is untouched and maps held elsewhere live on, but the
    /// next lookup builds a new object for the same row.
    void clear();

public:
    /// The private part, reached by the library's own classes through its private header;
    /// not for applications.
    class Implementation;

private:
    NetworkMapFactory();
    NetworkMapSharedPtr addNetworkMap(const QString &serial, const QString &name);
    NetworkMapSharedPtr loadFlyweight(int id);
    NetworkMapSharedPtr loadFlyweight(const QString &serial);
    void addToRepository(const NetworkMapSharedPtr &map);

    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAPFACTORY_H
