#ifndef ZELMW_NETWORKMAP_NETWORKMAPOBJECTFACTORY_H
#define ZELMW_NETWORKMAP_NETWORKMAPOBJECTFACTORY_H

#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/zelmw_export.h>

#include <QString>
#include <QVector>
#include <boost/shared_ptr.hpp>
#include <memory>

namespace zelmw {

// The process-wide repository of devices reached by id alone. There is one object per stored
// device in the process: a device that a cached network map holds is handed out as that
// map's object, and a device deleted through its map leaves the repository too. Every
// operation holds the model lock.
class ZELMW_EXPORT NetworkMapObjectFactory
{
public:
    using NetworkMapObjectPtr = boost::shared_ptr<NetworkMapObject>;

    static boost::shared_ptr<NetworkMapObjectFactory> getInstance();
    ~NetworkMapObjectFactory();

    // Cached, else loaded; null when there is no such row, and then nothing is cached.
    NetworkMapObjectPtr getNetworkMapObject(int id);
    // Stores a new, connected device; null when the MAC or IP address is not valid, the name
    // is empty or the insert fails. The device joins no network map.
    NetworkMapObjectPtr addNetworkMapObject(int mapObjectId, int networkMapId, const QString &name,
                                            const QString &mac, const QString &ip);
    // Deletes the device's row and forgets the device, also when the row could not be
    // deleted; its details stay. Null when there is no such device.
    NetworkMapObjectPtr deleteNetworkMapObject(int id);

    // On the cache only.
    bool isEmpty() const;
    int size() const;
    void clear();

protected:
    NetworkMapObjectPtr loadFlyweight(int id);
    void addToRepository(const NetworkMapObjectPtr &object);

public:
    // The private part, reached by the library's own classes through its private header.
    class Implementation;

private:
    NetworkMapObjectFactory();
    NetworkMapObjectFactory(const NetworkMapObjectFactory &) = delete;
    NetworkMapObjectFactory &operator=(const NetworkMapObjectFactory &) = delete;

    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAPOBJECTFACTORY_H
