#ifndef ZELMW_NETWORKMAP_NETWORKMAP_H
#define ZELMW_NETWORKMAP_NETWORKMAP_H

#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/zelmw_export.h>

#include <QList>
#include <QMap>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>
#include <boost/shared_ptr.hpp>
#include <memory>
#include <zeldb/NetworkMapsRecord.h>

namespace zelmw {

// One stored picture of a home network: its row (serial, name, the interface GUID it was
// taken on, the master gateway and the PC that runs the application) and its devices. The
// map creates, deletes and looks up devices, applies discovery records to them, relays their
// connection events and deletes a device whose lease ran out. Every public operation holds the
// model lock, and a writing one is one unit of work: its signals are emitted once it has
// committed, still under the lock, on the calling thread; receivers on other threads get them
// queued. Not copyable; always held through NetworkMapSharedPtr.
class ZELMW_EXPORT NetworkMap : public QObject
{
    Q_OBJECT

public:
    using NetworkMapObjectPtr = boost::shared_ptr<NetworkMapObject>;

    // What a discovery record does to a map, by the record's device type.
    class IDiscoverStrategy
    {
    public:
        virtual ~IDiscoverStrategy();
        // The device the record now stands for, or null.
        virtual NetworkMapObjectPtr discover(NetworkMap &map, const QMap<QString, QString> &record)
            = 0;
    };
    class DefaultDiscoverStrategy;
    class GatewayDiscoverStrategy;
    class PcDiscoverStrategy;

    // Throws std::invalid_argument for a null record. Loads no devices.
    explicit NetworkMap(const boost::shared_ptr<zeldb::NetworkMapsRecord> &record,
                        QObject *parent = nullptr);
    ~NetworkMap() override;

    int getId() const;
    QString getSerial() const;
    QString getName() const;
    int getMasterDeviceId() const;
    int getLocalZelPcId() const;
    QString getNicGuid() const;

    // A different value is kept in memory until saveData().
    void setSerial(const QString &serial);
    void setName(const QString &name);
    void setMasterDeviceId(int id);
    // A different id; when it replaces a non-zero one, the old device stops being the local PC.
    void setLocalZelPcId(int id);
    // A new, non-empty GUID; emits nicGuidChanged.
    void setNicGuid(const QString &nicGuid);
    // The device with OLDID, when registered, gets PC_PARAM_ISLOCALZEL "0" and
    // convertLocalZelToPc is emitted.
    void onLocalzelPcChange(int oldId);

    // Enters the device (null: nothing) and relays its connection events. Emits nothing.
    void addNwMapObject(const NetworkMapObjectPtr &object);
    NetworkMapObjectPtr getNwMapObject(int id) const;
    // MAC as registered, compared exactly.
    NetworkMapObjectPtr getNwMapObject(const QString &mac) const;
    bool hasNwMapObject(int id) const;
    bool hasNwMapObject(const QString &mac) const;
    // Takes the device out of the registry (no store change, no signal) and stops relaying it.
    bool removeNwMapObject(int id);
    bool removeNwMapObject(const QString &mac);
    // In ascending id.
    QList<NetworkMapObjectPtr> getNwMapObjectList() const;
    int count() const;
    bool isEmpty() const;
    NetworkMapObjectPtr getMasterDevice() const;
    NetworkMapObjectPtr getLocalZel() const;

    // Stores a new device with its details and enters it; null, with one warning, when the
    // MAC is taken or invalid, the IP invalid, the type unavailable or the row refused.
    NetworkMapObjectPtr createNwMapObject(const QString &typeName, const QString &name,
                                          const QString &mac, const QString &ip,
                                          const QMap<QString, QString> &details);
    // The same for the gateway, which becomes the map's master device.
    NetworkMapObjectPtr createMasterDevice(const QString &name, const QString &mac,
                                           const QString &ip,
                                           const QMap<QString, QString> &details);
    // Deletes the device's row and takes it off the map; false when the store refused.
    bool deleteNwMapObject(int id);
    bool deleteNwMapObject(const QString &mac);

    // The lowest-id device with exactly this IP, or null.
    NetworkMapObjectPtr getNwMapObjectByIp(const QString &ip) const;
    // The maker's CPE with this UPnP serial number, ignoring case, or null.
    NetworkMapObjectPtr getNwMapObjectBySerialNumber(const QString &serial) const;
    // The maker's CPEs, in ascending id.
    QList<NetworkMapObjectPtr> getVelCpeList() const;
    // MAC to IP of every device; without the local PC when EXCLUDELOCALZEL.
    QMap<QString, QString> getMacIpMap(bool excludeLocalZel) const;
    // The IPs of getMacIpMap, in ascending MAC order.
    QStringList getIpAddressList(bool excludeLocalZel) const;

    void setAllDeviceConnectionStatus(bool isConnected, bool force);
    // IP to reachable: each device found by IP gets an unforced connection report.
    void saveConnectionStatus(const QMap<QString, bool> &status);

    // Applies a discovery record, in one store transaction; the device it stands for, or null.
    // A record over the bounds DiscoveryHandler::addDiscovery names is refused whole (null).
    NetworkMapObjectPtr addDiscovery(const QMap<QString, QString> &record);
    // Marks as wireless the first device that has each MAC among its MACs.
    void updateMeshClientList(const QList<QString> &macs);
    // Marks as wireless the device whose own MAC is each MAC.
    void updateWirelessClientList(const QList<QString> &macs);

    // Writes the changed fields of the row; false when nothing changed or the update failed,
    // in which case they stay marked.
    bool saveData();
    // Deletes the map's row only: its devices stay, in memory and in the store.
    bool deleteData();

signals:
    void nwMapObjCreated(int nwmapObjId, bool masterDevice);
    void nwMapObjUpdated(int nwmapObjId);
    void nwMapObjDeleted(int nwmapObjId);
    void convertLocalZelToPc(int nwmapObjId);
    void nwmapObjConnected(int nwmapObjId);
    void nwmapObjDisconnected(int nwmapObjId);
    void nicGuidChanged(QString nicGuid);

public:
    // The private part, reached by the library's own classes through its private header.
    class Implementation;

private:
    std::unique_ptr<Implementation> d;
};

using NetworkMapSharedPtr = boost::shared_ptr<NetworkMap>;

} // namespace zelmw

Q_DECLARE_METATYPE(zelmw::NetworkMapSharedPtr)

#endif // ZELMW_NETWORKMAP_NETWORKMAP_H
