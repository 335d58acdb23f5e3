#ifndef ZELMW_NETWORKMAP_NETWORKMAPFACTORY_H
#define ZELMW_NETWORKMAP_NETWORKMAPFACTORY_H

#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/zelmw_export.h>

#include <QList>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <memory>

namespace zelmw {

// The process-wide repository of network maps: one shared map per stored map id, loaded with
// its devices on first use. Every operation holds the model lock. A copy copies the cache.
class ZELMW_EXPORT NetworkMapFactory
{
public:
    static boost::shared_ptr<NetworkMapFactory> getInstance();
    NetworkMapFactory(const NetworkMapFactory &other);
    NetworkMapFactory &operator=(const NetworkMapFactory &other);
    ~NetworkMapFactory();

    // Cached, else loaded; null when there is no such row.
    NetworkMapSharedPtr getNetworkMap(int id);
    // The map whose serial is "@MAC:" and MAC, as given; null when there is none.
    NetworkMapSharedPtr getNetworkMap(const QString &mac);
    // A new map with the serial "@MAC:" and MAC; SERIALNUMBER takes no part. Null when the MAC
    // or the name is empty or the insert fails.
    NetworkMapSharedPtr addNetworkMap(const QString &mac, const QString &serialNumber,
                                      const QString &name);
    // Deletes the map's row (its devices stay) and forgets it; the map stays cached when the
    // row could not be deleted. Null when there is no such map.
    NetworkMapSharedPtr deleteNetworkMap(int id);
    // The id of every stored map, ascending, into IDS, read from the store (not the cache);
    // false, with IDS empty, when the store cannot be read. A store without maps answers true.
    bool getNetworkMapIds(QList<int> &ids);
    bool exists(int id);
    bool exists(const QString &mac);

    // On the cache only.
    bool isEmpty() const;
    int size() const;
    void clear();

public:
    // The private part, reached by the library's own classes through its private header.
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
