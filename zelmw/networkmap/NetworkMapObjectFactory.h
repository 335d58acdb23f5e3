#ifndef ZELMW_NETWORKMAP_NETWORKMAPOBJECTFACTORY_H
#define ZELMW_NETWORKMAP_NETWORKMAPOBJECTFACTORY_H

#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/zelmw_export.h>

#include <QString>
#include <QVector>
#include <boost/shared_ptr.hpp>
#include <memory>

namespace zelmw {

/// The process-wide repository of devices reached by id alone.
///
/// There is one object per stored device in the process: a device that a cached network map
/// holds is handed out as that map's object, and a device deleted through its map leaves the
/// repository too. Any thread may call any member: every operation holds the model lock, and
/// a writing one is one unit of work. Not copyable; reached through getInstance().
class ZELMW_EXPORT NetworkMapObjectFactory
{
public:
    /// A shared device.
    using NetworkMapObjectPtr = boost::shared_ptr<NetworkMapObject>;

    /// The process's repository.
    static boost::shared_ptr<NetworkMapObjectFactory> getInstance();
    /// Drops the cache; devices held elsewhere live on.
    ~NetworkMapObjectFactory();

    /// The device with ID: cached, else loaded and cached; null when there is no such row,
    /// and then nothing is cached.
    NetworkMapObjectPtr getNetworkMapObject(int id);
    /// Stores a new, connected device and caches it; null when the MAC or IP address is not
    /// valid, the name is empty or the insert fails. The device joins no network map and no
    /// signal is emitted: NetworkMap::createNwMapObject() does both.
    NetworkMapObjectPtr addNetworkMapObject(int mapObjectId, int networkMapId, const QString &name,
                                            const QString &mac, const QString &ip);
    /// Deletes the device's row and forgets the device, also when the row could not be
    /// deleted; its details stay. Null when there is no such device. The device stays on a
    /// map that holds it and no signal is emitted: NetworkMap::deleteNwMapObject() does both.
    NetworkMapObjectPtr deleteNetworkMapObject(int id);

    /// Whether the cache holds no device; the store is not asked.
    bool isEmpty() const;
    /// How many devices the cache holds; the store is not asked.
    int size() const;
    /// Empties the cache; the store is untouched and devices held elsewhere live on.
    void clear();

protected:
    /// The device with ID read from the store, or the object a cached map holds for it; null
    /// when there is no such row. Not entered in the cache.
    NetworkMapObjectPtr loadFlyweight(int id);
    /// Enters OBJECT in the cache under its id, in place of one with the same id; a null one
    /// is ignored.
    void addToRepository(const NetworkMapObjectPtr &object);

public:
    /// The private part, reached by the library's own classes through its private header;
    /// not for applications.
    class Implementation;

private:
    NetworkMapObjectFactory();
    NetworkMapObjectFactory(const NetworkMapObjectFactory &) = delete;
    NetworkMapObjectFactory &operator=(const NetworkMapObjectFactory &) = delete;

    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAPOBJECTFACTORY_H
