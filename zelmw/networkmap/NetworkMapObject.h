#ifndef ZELMW_NETWORKMAP_NETWORKMAPOBJECT_H
#define ZELMW_NETWORKMAP_NETWORKMAPOBJECT_H

#include <zelmw/networkmap/LanConnection.h>
#include <zelmw/networkmap/NetworkMapObjectDetail.h>
#include <zelmw/vocabulary/Composite.h>
#include <zelmw/zelmw_export.h>

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <memory>
#include <zeldb/NetworkMapObjectsRecord.h>

namespace zelmw {

class MapObject;
class NetworkMap;

/// One device of a network map: its row and its details.
///
/// The row holds the name, the MAC and IP address, the connection flag, the map and the
/// type; each detail is a parameter of the device's type with a value. Details are written as
/// soon as they are set; the row's fields only by saveData(). The device also decides when it
/// counts as disconnected and when it has been away long enough (the DEFAULT_LEASE_TIME
/// setting, in seconds) to be deleted. Any thread may call any member: every public operation
/// holds the model lock, and a writing one is one unit of work, stored whole or not at all.
/// Its signals are emitted once it has committed, still under the lock, on the calling
/// thread. The Composite part it inherits is not used by the library and takes no lock. Not
/// copyable, as a QObject; share it through its shared_ptr.
class ZELMW_EXPORT NetworkMapObject : public QObject, public Composite
{
    Q_OBJECT

public:
    /// A shared detail of the device.
    using DetailPtr = boost::shared_ptr<NetworkMapObjectDetail>;

    /// A device over the stored row RECORD. Throws std::invalid_argument for a null record.
    /// Loads the device's type and details and reads the lease time from the configuration.
    /// Devices of a map come from NetworkMapFactory or NetworkMapObjectFactory instead.
    explicit NetworkMapObject(const boost::shared_ptr<zeldb::NetworkMapObjectsRecord> &record,
                              QObject *parent = nullptr);
    /// Cuts its details off: a detail held elsewhere no longer reports to this device.
    ~NetworkMapObject() override;

    /// The id of the device's row.
    int getId() const;
    /// The id of the map the device belongs to.
    int getNetworkMapId() const;
    /// The id of the device's type in the catalogue.
    int getMapObjectId() const;
    /// The device's name.
    QString getName() const;
    /// The MAC address as stored, letter case included.
    QString getMacAddress() const;
    /// When the row was created.
    QDateTime getCreateDate() const;
    /// When the row was last updated, as last read or written by this object.
    QDateTime getUpdate() const;
    /// Whether the device counts as connected (see setIsConnected()).
    bool getIsConnected() const;
    /// getIsConnected() as a LanConnectionStatus.
    LanConnectionStatus getConnectionStatus() const;
    /// Wireless when the DEVICE_PARAM_LAN_CONNECTION_ISWIRELESS detail is "1", else wired.
    LanConnectionType getConnectionType() const;
    /// The name of the device's type; empty when the device has no type.
    QString getTypeName() const;
    /// The device's type; null when the catalogue has no type with the row's map object id.
    boost::shared_ptr<MapObject> getMapObject() const;
    /// The map the device belongs to, through the map repository (loaded when not cached);
    /// null when it is not stored.
    boost::shared_ptr<NetworkMap> getNetworkMap() const;
    /// The DEVICE_PARAM_LAN_IPADDRESS detail when there is one, else the address stored on
    /// insert.
    QString getIpAddress() const;
    /// The DEVICE_PARAM_USER_DEFINED_NAME detail; empty when there is none.
    QString getUserDefinedName() const;
    /// Whether getUserDefinedName() is not empty.
    bool hasUserDefinedName() const;
    /// The DEVICE_PARAM_LAN_DISCONNECT_TIME detail as a time; null when there is no such
    /// detail, invalid when it does not hold a time.
    QDateTime getDisconnectTime() const;

    ///@{
    /// The detail with this parameter name or detail id; null when there is none.
    DetailPtr getDetail(const QString &name) const;
    DetailPtr getDetail(int id) const;
    ///@}
    ///@{
    /// Whether getDetail() finds a detail.
    bool hasDetail(const QString &name) const;
    bool hasDetail(int id) const;
    ///@}
    ///@{
    /// The detail's value, also when it is empty; DEFAULTVALUE when there is no such detail.
    QString getDetailValue(const QString &name, const QString &defaultValue) const;
    QString getDetailValue(int id, const QString &defaultValue) const;
    ///@}
    /// Every detail, in ascending detail id.
    QList<DetailPtr> getDetailList() const;
    /// Parameter name to value of every detail.
    QMap<QString, QString> getDetailNameValueMap() const;

    /// Stores a new detail, adding the parameter to the device's type when the type lacks it,
    /// and emits detailChanged. Null when the device has no type, the value is empty or the
    /// insert fails. A device that has the detail already gets a second one, which the name
    /// then finds: saveDetail() sets a value whether the detail exists or not.
    DetailPtr createDetail(const QString &name, const QString &value);
    /// Sets and stores the detail, creating it when missing, and emits detailChanged; false
    /// when nothing was written, also when the detail already held VALUE.
    bool saveDetail(const QString &name, const QString &value);
    /// saveDetail() for each entry, in ascending name order, in one unit of work: a store
    /// error undoes them all. Results are not collected.
    void saveDetails(const QMap<QString, QString> &details);
    /// Deletes the detail's row, takes the detail off the device and emits detailRemoved;
    /// false, keeping the detail, when there is none or its row could not be deleted.
    bool deleteDetail(const QString &name);
    /// deleteDetail() for every detail, in one unit of work: a detail whose row was not
    /// deleted is kept, and a store error undoes them all.
    void deleteDetails();

    /// A new, non-empty name is kept in memory until saveData(); emits nameChanged.
    void setName(const QString &name);
    /// A valid, different MAC address is kept in memory until saveData(); emits nothing.
    void setMacAddress(const QString &mac);
    /// A valid address is stored as the DEVICE_PARAM_LAN_IPADDRESS detail; the row keeps the
    /// address given on insert. An invalid one is ignored.
    void setIpAddress(const QString &ip);
    /// A non-empty name is stored as the DEVICE_PARAM_USER_DEFINED_NAME detail at once;
    /// emits userDefinedNameChanged when it was written. An empty one is ignored.
    void setUserDefinedName(const QString &name);

    /// A connection report. A connected device turns disconnected when FORCE is set or on the
    /// fifth not-connected report in a row; a disconnected device follows every report. A
    /// change is stored (with the disconnect time) and emits connected() or disconnected(),
    /// after its map's nwmapObjConnected or nwmapObjDisconnected. A disconnected device
    /// reported not connected once its lease ran out emits timeoutToDelete(), after its map
    /// deleted it (unless it is the map's gateway or local PC).
    void setIsConnected(bool isConnected, bool force);
    /// setIsConnected() with STATUS, unforced.
    void setConnectionStatus(LanConnectionStatus status);
    /// Counts one more failure, in the same count as unforced not-connected reports, and
    /// answers the count. Changes no connection by itself.
    int incrementPingFailCount();
    /// Sets the failure count back to zero.
    void resetPingFailCount();
    /// Whether the stored disconnect time lies at least the lease time in the past; false
    /// without one. Deletes nothing.
    bool checkDeleteTimeout();

    /// The row's MAC address in upper case first (also when empty); for a gateway also its
    /// non-empty LAN, Ethernet, wireless and ADSL MAC address details, upper-cased.
    QList<QString> getMacAddressList() const;
    /// Whether getMacAddressList() holds MAC, compared in upper case, as a whole string.
    bool hasMacAddress(const QString &mac) const;

    /// Writes the changed fields of the row; false when nothing changed or the update failed,
    /// in which case they stay marked.
    bool saveData();
    /// Deletes the device's row only: its details stay, in memory and in the store, and so
    /// does its place on its map (NetworkMap::deleteNwMapObject() does all). False when the
    /// store refused.
    bool deleteData();

signals:
    /// A detail was created or its value changed: its parameter name and new value.
    void detailChanged(const QString &name, const QString &newValue);
    /// A detail was deleted: its parameter name and the value it held.
    void detailRemoved(const QString &name, const QString &lastValue);
    /// The device turned connected.
    void connected();
    /// The device turned disconnected.
    void disconnected();
    /// The device's lease ran out on a not-connected report (see setIsConnected()).
    void timeoutToDelete();
    /// setName() changed the name (not yet stored).
    void nameChanged(const QString &name);
    /// setUserDefinedName() stored a new name.
    void userDefinedNameChanged(const QString &name);

public:
    /// The private part, reached by the library's own classes through its private header;
    /// not for applications.
    class Implementation;

private:
    using DetailRecordPtr = boost::shared_ptr<zeldb::NetworkMapObjectDetailsRecord>;

    // Of TYPE, with its COUNT detail rows at DETAILS and its lease already known.
    NetworkMapObject(const boost::shared_ptr<zeldb::NetworkMapObjectsRecord> &record,
                     const boost::shared_ptr<MapObject> &type, const DetailRecordPtr *details,
                     int count, int leaseSeconds);

    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAPOBJECT_H
