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

// One device of a network map: its row (name, MAC and IP address, connection flag, map and
// type) and its details, each a parameter of the device's type with a value. Details are
// written as soon as they are set; the row's fields only by saveData(). The device also
// decides when it counts as disconnected and when it has been away long enough to be deleted.
// Every public operation holds the model lock, and a writing one is one unit of work: its
// signals are emitted once it has committed, still under the lock, on the calling thread.
// Not copyable, as a QObject; share it through its shared_ptr.
class ZELMW_EXPORT NetworkMapObject : public QObject, public Composite
{
    Q_OBJECT

public:
    using DetailPtr = boost::shared_ptr<NetworkMapObjectDetail>;

    // Throws std::invalid_argument for a null record. Loads the device's type and details
    // and reads the delete timeout from the configuration.
    explicit NetworkMapObject(const boost::shared_ptr<zeldb::NetworkMapObjectsRecord> &record,
                              QObject *parent = nullptr);
    ~NetworkMapObject() override;

    int getId() const;
    int getNetworkMapId() const;
    int getMapObjectId() const;
    QString getName() const;
    // As stored, letter case included.
    QString getMacAddress() const;
    QDateTime getCreateDate() const;
    QDateTime getUpdate() const;
    bool getIsConnected() const;
    LanConnectionStatus getConnectionStatus() const;
    LanConnectionType getConnectionType() const;
    // Empty when the device has no type.
    QString getTypeName() const;
    // Null when the catalogue has no type with the row's map object id.
    boost::shared_ptr<MapObject> getMapObject() const;
    // The map the device belongs to, through the map repository; null when it is not stored.
    boost::shared_ptr<NetworkMap> getNetworkMap() const;
    // The DEVICE_PARAM_LAN_IPADDRESS detail when there is one, else the address stored on
    // insert.
    QString getIpAddress() const;
    QString getUserDefinedName() const;
    bool hasUserDefinedName() const;
    // Null when there is no DEVICE_PARAM_LAN_DISCONNECT_TIME detail.
    QDateTime getDisconnectTime() const;

    DetailPtr getDetail(const QString &name) const;
    DetailPtr getDetail(int id) const;
    bool hasDetail(const QString &name) const;
    bool hasDetail(int id) const;
    // The detail's value, also when it is empty; DEFAULTVALUE when there is no such detail.
    QString getDetailValue(const QString &name, const QString &defaultValue) const;
    QString getDetailValue(int id, const QString &defaultValue) const;
    // In ascending detail id.
    QList<DetailPtr> getDetailList() const;
    QMap<QString, QString> getDetailNameValueMap() const;

    // Stores a new detail, adding the parameter to the device's type when the type lacks it.
    // Null when the device has no type, the value is empty or the insert fails.
    DetailPtr createDetail(const QString &name, const QString &value);
    // Sets and stores the detail, creating it when missing; false when nothing was written,
    // also when the detail already held VALUE.
    bool saveDetail(const QString &name, const QString &value);
    // In ascending name order; results are not collected.
    void saveDetails(const QMap<QString, QString> &details);
    // Deletes the detail's row; a detail whose row could not be deleted is kept.
    bool deleteDetail(const QString &name);
    void deleteDetails();

    // A new, non-empty name is kept in memory until saveData().
    void setName(const QString &name);
    // A valid, different MAC address is kept in memory until saveData().
    void setMacAddress(const QString &mac);
    // A valid address is stored as the DEVICE_PARAM_LAN_IPADDRESS detail; the row keeps the
    // address given on insert.
    void setIpAddress(const QString &ip);
    void setUserDefinedName(const QString &name);

    // A connection report. A connected device turns disconnected when FORCE is set or on the
    // fifth not-connected report in a row; a disconnected device follows every report.
    void setIsConnected(bool isConnected, bool force);
    void setConnectionStatus(LanConnectionStatus status);
    int incrementPingFailCount();
    void resetPingFailCount();
    // Whether the stored disconnect time lies at least the lease time in the past.
    bool checkDeleteTimeout();

    // The row's MAC address in upper case first (also when empty); for a gateway also its
    // non-empty LAN, Ethernet, wireless and ADSL MAC address details, upper-cased.
    QList<QString> getMacAddressList() const;
    // MAC is compared in upper case, as a whole string.
    bool hasMacAddress(const QString &mac) const;

    // Writes the changed fields of the row; false when nothing changed or the update failed,
    // in which case they stay marked.
    bool saveData();
    // Deletes the device's row only: its details stay, in memory and in the store.
    bool deleteData();

signals:
    void detailChanged(const QString &name, const QString &newValue);
    void detailRemoved(const QString &name, const QString &lastValue);
    void connected();
    void disconnected();
    void timeoutToDelete();
    void nameChanged(const QString &name);
    void userDefinedNameChanged(const QString &name);

public:
    // The private part, reached by the library's own classes through its private header.
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
