#ifndef ZELMW_NETWORKMAP_NETWORKMAP_P_H
#define ZELMW_NETWORKMAP_NETWORKMAP_P_H

#include <zelmw/networkmap/DeletedDeviceRecords_p.h>
#include <zelmw/networkmap/DeviceRegistry_p.h>
#include <zelmw/networkmap/MacAliases_p.h>
#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/persistence/DirtyFields_p.h>

#include <QMap>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <zeldb/NetworkMapsRecord.h>

namespace zelmw {

// The private part of a map: its row, its devices, the discovery rules, and what its devices
// report to it. Guarded by the model lock.
class NetworkMap::Implementation
{
public:
    static Implementation &of(const NetworkMap &map) { return *map.d; }

    explicit Implementation(NetworkMap *q);
    ~Implementation();
    Implementation(const Implementation &) = delete;
    Implementation &operator=(const Implementation &) = delete;

    // Before a change of the row: the unit of work restores it if it fails.
    void remember();
    // The discovery rules, by the device type a record names.
    void addStrategies();

    // Applies a discovery record already within the bounds, as one unit of work.
    NetworkMapObjectPtr applyDiscovery(const QMap<QString, QString> &record);
    // The creation checks and the row, with what the user gave a device of the same MAC that
    // left the map; the device is not entered yet. REPLACED is a device
    // about to be deleted, whose MAC does not count as taken; KNOWNTYPE, when given, is the
    // type TYPENAME names, looked up already.
    NetworkMapObjectPtr createRow(const QString &typeName, const QString &name, const QString &mac,
                                  const QString &ip, const NetworkMapObjectPtr &replaced = {},
                                  const boost::shared_ptr<MapObject> &knownType = {});
    // The creation checks, the row and its details, then the registry and nwMapObjCreated; a
    // MASTER device becomes the map's master device. One unit of work.
    NetworkMapObjectPtr createDevice(const QString &typeName, const QString &name,
                                     const QString &mac, const QString &ip,
                                     const QMap<QString, QString> &details, bool master);
    // Re-creates DEVICE under TYPENAME with its details merged with RECORD; null, with
    // nothing changed, when that cannot be done. One unit of work.
    NetworkMapObjectPtr changeType(const NetworkMapObjectPtr &device, const QString &typeName,
                                   const QMap<QString, QString> &record, const QString &name,
                                   const QString &ip);
    // Deletes the device's row and its detail rows; a row that is already gone counts as
    // deleted.
    bool deleteRow(const NetworkMapObjectPtr &device);
    // A connected device leaves the map: its session ends now.
    bool endSession(const NetworkMapObject &device);
    // Takes the device out of the map and the device repository.
    void forgetDevice(int id);
    // Marks as wireless the first device that has each MAC, among all its MACs or its own.
    void markWireless(const QList<QString> &macs, bool allMacsOfDevice);

    // What the map's devices report to it.
    void deviceConnectionChanged(int id, bool connected);
    // A disconnected device's lease ran out: it is deleted, unless it is the gateway or the
    // PC that runs the application.
    void leaseExpired(int id);
    // A device went back to what it was before a unit of work that failed.
    void deviceRestored();

    NetworkMap *const q;
    boost::shared_ptr<zeldb::NetworkMapsRecord> record;
    DirtyFields dirtyFields;
    DeviceRegistry devices;
    DeletedDeviceRecords deletedDevices;
    MacAliases aliases;
    QMap<QString, boost::shared_ptr<IDiscoverStrategy>> strategies;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAP_P_H
