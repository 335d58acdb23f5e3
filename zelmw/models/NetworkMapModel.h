#ifndef ZELMW_MODELS_NETWORKMAPMODEL_H
#define ZELMW_MODELS_NETWORKMAPMODEL_H

#include <zelmw/zelmw_export.h>

#include <QAbstractTableModel>
#include <QByteArray>
#include <QHash>
#include <QModelIndex>
#include <QVariant>
#include <memory>

namespace zelmw {

/// The devices of the map in use as a table, for item views and QML.
///
/// One row per device, in ascending device id; the columns are those of Column, and the same
/// data, with the device's id and details, is there under the roles of Role. The model lives on
/// the thread that creates it, usually the application's (GUI) thread, and follows the map in
/// use: InUseMapController::inUseMapChanged resets it, and devices created, deleted or changed
/// on the map become inserted rows, removed rows and dataChanged() for exactly the cells and
/// roles that differ (a role of Role is the row's in every column, so its change covers the
/// row).
///
/// It keeps its own copy of every row, so data() never waits for the library. The library's
/// signals reach it queued (they are emitted on the thread that made the change, usually the
/// discovery listener's). On each it reads the devices concerned again, by id, from the map in
/// use, taking the model lock only when no other thread holds it (else it tries again a few
/// milliseconds later): a device no longer on the map loses its row whatever signal was seen
/// last, and one on the map gets its row. The only calls that wait for the library are the
/// constructor, which reads the map in use, the destructor, which stops listening to
/// InUseMapController, and setData(), which writes.
///
/// A map deleted or dropped by InUseMapController::reset() without another taking its place
/// stays shown until the next map comes into use.
class ZELMW_EXPORT NetworkMapModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    /// The columns, in order.
    enum Column {
        TypeColumn, ///< The name of the device's type (NetworkMapObject::getTypeName()).
        NameColumn, ///< The user-defined name where there is one, else the name; editable.
        IpAddressColumn, ///< The IP address (NetworkMapObject::getIpAddress()).
        MacAddressColumn, ///< The MAC address as stored.
        ConnectedColumn, ///< "yes" or "no": whether the device counts as connected.
        WirelessColumn, ///< "yes" or "no": whether the device is connected without wires.
        RoleColumn, ///< "master gateway", "this PC" or empty.
        ColumnCount ///< The number of columns.
    };
    Q_ENUM(Column)

    /// The roles that give a row's data whatever the column; roleNames() names them.
    enum Role {
        DeviceIdRole = Qt::UserRole + 1, ///< "deviceId": NetworkMapObject::getId(), an int.
        TypeNameRole, ///< "typeName": NetworkMapObject::getTypeName().
        NameRole, ///< "name": NetworkMapObject::getName().
        IpAddressRole, ///< "ipAddress": NetworkMapObject::getIpAddress().
        MacAddressRole, ///< "macAddress": NetworkMapObject::getMacAddress().
        ConnectedRole, ///< "connected": NetworkMapObject::getIsConnected(), a bool.
        WirelessRole, ///< "wireless": whether the connection type is wireless, a bool.
        IsMasterRole, ///< "isMaster": whether the device is the map's master device, a bool.
        IsLocalPcRole, ///< "isLocalPc": whether the device is the PC the application runs on.
        UserDefinedNameRole, ///< "userDefinedName": NetworkMapObject::getUserDefinedName().
        DetailsRole, ///< "details": every detail, name to value, as stored: a QVariantMap.
        /// "randomizedMac": whether the MAC address is a private (locally administered) one,
        /// a bool; the MAC column's tooltip then says so.
        RandomizedMacRole
    };
    Q_ENUM(Role)

    /// A model of the map in use now (empty when there is none), on the calling thread. Waits
    /// for the model lock once, to read the map.
    explicit NetworkMapModel(QObject *parent = nullptr);
    /// Destroys the model; the library's signals no longer reach it. Waits for the model lock.
    ~NetworkMapModel() override;

    /// The number of devices; 0 under a valid PARENT (a table has no children).
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    /// ColumnCount; 0 under a valid PARENT.
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    /// The cell's text for Qt::DisplayRole (and Qt::EditRole in the name column), else the
    /// row's value for a Role, from the model's own copy; an invalid QVariant otherwise.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    /// The column titles; for a vertical header, the row's device id.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    /// Selectable and enabled; the name column is editable too.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    /// In the name column with Qt::EditRole: gives the device the user-defined name VALUE
    /// (NetworkMapObject::setUserDefinedName(), one unit of work) and answers whether the
    /// device holds it afterwards; false for an empty name, a device no longer on the map or
    /// any other cell or role. The row shows the new name at once.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    /// The base class's role names and those of Role.
    QHash<int, QByteArray> roleNames() const override;

    /// The private part, defined inside the library; not for applications.
    class Implementation;

private:
    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_MODELS_NETWORKMAPMODEL_H
