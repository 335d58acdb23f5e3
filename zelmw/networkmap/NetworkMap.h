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

/// One stored picture of a home network: its row and its devices.
///
/// The row holds the serial, the name, the GUID of the network interface it was taken on, the
/// master device (the gateway) and the PC that runs the application. The map creates, deletes
/// and looks up devices, applies discovery records to them, relays their connection events
/// and deletes a device whose lease ran out. Maps come from NetworkMapFactory, one object per
/// stored map. Any thread may call any member: every public operation holds the model lock,
/// and a writing one is one unit of work, stored whole or not at all. Its signals are emitted
/// once it has committed, still under the lock, on the calling thread; receivers on other
/// threads get them queued. A map made without a parent on a thread other than the
/// application's is moved to the application's thread. Not copyable; always held through
/// NetworkMapSharedPtr.
class ZELMW_EXPORT NetworkMap : public QObject
{
    Q_OBJECT

public:
    /// A shared device of the map.
    using NetworkMapObjectPtr = boost::shared_ptr<NetworkMapObject>;

    /// What a discovery record does to a map, by the record's device type (NS_DEVICE_TYPE).
    /// The library's own rules implement it, one each for "GATEWAY", "PC" and
    /// "UNKNOWN_DEVICE"; a map picks one in addDiscovery(). Called under the model lock.
    class IDiscoverStrategy
    {
    public:
        /// Destroys the rule.
        virtual ~IDiscoverStrategy();
        /// Applies RECORD to MAP: the device the record now stands for, or null when the record
        /// names no MAC address or the device cannot be created.
        virtual NetworkMapObjectPtr discover(NetworkMap &map, const QMap<QString, QString> &record)
            = 0;
    };
    /// The rule for "UNKNOWN_DEVICE" records; defined inside the library.
    class DefaultDiscoverStrategy;
    /// The rule for "GATEWAY" records; defined inside the library.
    class GatewayDiscoverStrategy;
    /// The rule for "PC" records; defined inside the library.
    class PcDiscoverStrategy;

    /// A map over the stored row RECORD. Throws std::invalid_argument for a null record.
    /// Loads no devices: NetworkMapFactory builds maps with their devices.
    explicit NetworkMap(const boost::shared_ptr<zeldb::NetworkMapsRecord> &record,
                        QObject *parent = nullptr);
    /// Lets go of the devices: they no longer report to this map.
    ~NetworkMap() override;

    /// The id of the map's row.
    int getId() const;
    /// The serial: "@MAC:" and the gateway's MAC address for a map NetworkMapFactory made.
    QString getSerial() const;
    /// The map's name.
    QString getName() const;
    /// The id of the map's master device, the gateway.
    int getMasterDeviceId() const;
    /// The id of the device that is the PC the application runs on.
    int getLocalZelPcId() const;
    /// The GUID of the network interface the map was taken on.
    QString getNicGuid() const;

    ///@{
    /// A different value is kept in memory until saveData(); emits nothing.
    void setSerial(const QString &serial);
    void setName(const QString &name);
    void setMasterDeviceId(int id);
    ///@}
    /// A different id, kept in memory until saveData(); when it replaces a non-zero one, the
    /// old device stops being the local PC at once (see onLocalzelPcChange()).
    void setLocalZelPcId(int id);
    /// A new, non-empty GUID, kept in memory until saveData(); emits nicGuidChanged. Others are
    /// ignored.
    void setNicGuid(const QString &nicGuid);
    /// The device with OLDID, when it is on the map, gets PC_PARAM_ISLOCALZEL "0" and
    /// convertLocalZelToPc is emitted.
    void onLocalzelPcChange(int oldId);

    /// Enters the device (null: nothing), in place of one with the same id, and relays its
    /// connection events. Stores nothing and emits nothing.
    void addNwMapObject(const NetworkMapObjectPtr &object);
    /// The device with ID on the map, or null.
    NetworkMapObjectPtr getNwMapObject(int id) const;
    /// The device entered with MAC (the MAC address it had when it was entered), compared
    /// exactly, letter case included; null when there is none.
    NetworkMapObjectPtr getNwMapObject(const QString &mac) const;
    ///@{
    /// Whether getNwMapObject() finds a device.
    bool hasNwMapObject(int id) const;
    bool hasNwMapObject(const QString &mac) const;
    ///@}
    ///@{
    /// Takes the device out of the map (no store change, no signal) and stops relaying it;
    /// false when getNwMapObject() finds none.
    bool removeNwMapObject(int id);
    bool removeNwMapObject(const QString &mac);
    ///@}
    /// Every device of the map, in ascending id.
    QList<NetworkMapObjectPtr> getNwMapObjectList() const;
    /// How many devices the map holds.
    int count() const;
    /// Whether the map holds no device.
    bool isEmpty() const;
    /// The device with getMasterDeviceId(), or null when it is not on the map.
    NetworkMapObjectPtr getMasterDevice() const;
    /// The device with getLocalZelPcId(), or null when it is not on the map.
    NetworkMapObjectPtr getLocalZel() const;

    /// Stores a new device of type TYPENAME with its details, enters it and emits
    /// nwMapObjCreated; null, with one warning, when the MAC is taken (ignoring case) or
    /// invalid, the IP invalid, the type unavailable or the row refused.
    NetworkMapObjectPtr createNwMapObject(const QString &typeName, const QString &name,
                                          const QString &mac, const QString &ip,
                                          const QMap<QString, QString> &details);
    /// The same for a gateway, which becomes the map's master device (stored at once).
    NetworkMapObjectPtr createMasterDevice(const QString &name, const QString &mac,
                                           const QString &ip,
                                           const QMap<QString, QString> &details);
    ///@{
    /// Keeps what the user gave the device (its user-defined name, its login) for its return:
    /// a device created on this map later with the same MAC address gets it back, while the
    /// record lasts (the map's newest 2000, for DELETED_DEVICE_RETENTION_DAYS). Then
    /// deletes the device's row and its details' rows, takes it off the map and
    /// out of NetworkMapObjectFactory, and emits nwMapObjDeleted; false when getNwMapObject()
    /// finds none or the store refused.
    bool deleteNwMapObject(int id);
    bool deleteNwMapObject(const QString &mac);
    ///@}
    /// Merges the device GONEID into the device KEEPID, two records of one device: the kept
    /// device takes each of the gone device's user details (its user-defined name, its login)
    /// that it has none of, with its usual signals; the gone device is deleted as by
    /// deleteNwMapObject(), emitting nwMapObjDeleted(GONEID), but nothing of it is kept for its
    /// return. Its MAC address, and any it stood for, become aliases of the kept device
    /// (getMacAliases()): a later discovery record with one of them updates the kept device,
    /// which keeps its own MAC address. Aliases last as long as their device on this map.
    /// One unit of work: true when it committed; false, with nothing changed, when either id
    /// is not on the map, both are the same, or the store refused.
    bool mergeDevices(int keepId, int goneId);
    /// The MAC addresses, upper-case and in ascending order, that stand for the device with ID
    /// besides its own: those of the devices merged into it. Empty when it has none.
    QStringList getMacAliases(int id) const;

    /// The lowest-id device with exactly this IP address, or null.
    NetworkMapObjectPtr getNwMapObjectByIp(const QString &ip) const;
    /// The maker's CPE with this UPnP serial number, ignoring case, or null.
    NetworkMapObjectPtr getNwMapObjectBySerialNumber(const QString &serial) const;
    /// The maker's CPEs (VelCpeFacade::isVelmoraCpe()), in ascending id.
    QList<NetworkMapObjectPtr> getVelCpeList() const;
    /// MAC to IP address of every device; without the local PC when EXCLUDELOCALZEL.
    QMap<QString, QString> getMacIpMap(bool excludeLocalZel) const;
    /// The IP addresses of getMacIpMap(), in ascending MAC order.
    QStringList getIpAddressList(bool excludeLocalZel) const;

    /// Gives every device the connection report NetworkMapObject::setIsConnected(ISCONNECTED,
    /// FORCE), in one unit of work.
    void setAllDeviceConnectionStatus(bool isConnected, bool force);
    /// IP address to reachable: each address gives one device of the map with that address
    /// an unforced connection report, in one unit of work. Unknown addresses are passed over.
    void saveConnectionStatus(const QMap<QString, bool> &status);

    /// Applies a discovery record in one unit of work: the device it stands for, or null.
    /// Null also when the record names no device type, one without a rule or no MAC address.
    /// A record over the bounds DiscoveryHandler::refusalReason() checks is refused whole
    /// (null, one warning per burst) before the model lock is taken.
    NetworkMapObjectPtr addDiscovery(const QMap<QString, QString> &record);
    /// Marks as wireless the first device (in ascending id) that has each MAC among its MAC
    /// addresses (NetworkMapObject::getMacAddressList()), ignoring case. One unit of work.
    void updateMeshClientList(const QList<QString> &macs);
    /// Marks as wireless the first device whose own MAC address is each MAC, ignoring case.
    /// One unit of work.
    void updateWirelessClientList(const QList<QString> &macs);

    /// Writes the changed fields of the row; false when nothing changed or the update failed,
    /// in which case they stay marked.
    bool saveData();
    /// Deletes the map's row only: its devices stay, in memory and in the store. False when
    /// the store refused.
    bool deleteData();

signals:
    /// A device was created on the map: by createNwMapObject(), createMasterDevice() (with
    /// MASTERDEVICE true) or a discovery record, also one re-created under another type.
    void nwMapObjCreated(int nwmapObjId, bool masterDevice);
    /// Declared for receivers that connect to it; the library never emits it.
    void nwMapObjUpdated(int nwmapObjId);
    /// A device was deleted: by deleteNwMapObject(), when its lease ran out, or when a
    /// discovery record re-created it under another type (with a new id).
    void nwMapObjDeleted(int nwmapObjId);
    /// The device with this id is no longer the PC the application runs on.
    void convertLocalZelToPc(int nwmapObjId);
    /// A device of the map turned connected; emitted before the device's own connected().
    void nwmapObjConnected(int nwmapObjId);
    /// A device of the map turned disconnected; emitted before the device's disconnected().
    void nwmapObjDisconnected(int nwmapObjId);
    /// setNicGuid() changed the GUID to NICGUID.
    void nicGuidChanged(QString nicGuid);

public:
    /// The private part, reached by the library's own classes through its private header;
    /// not for applications.
    class Implementation;

private:
    std::unique_ptr<Implementation> d;
};

/// How maps are held and shared. A Qt metatype; InUseMapController registers it under
/// "NetworkMapSharedPtr" and "zelmw::NetworkMapSharedPtr", so it can travel in queued signals.
using NetworkMapSharedPtr = boost::shared_ptr<NetworkMap>;

} // namespace zelmw

Q_DECLARE_METATYPE(zelmw::NetworkMapSharedPtr)

#endif // ZELMW_NETWORKMAP_NETWORKMAP_H
