#include <zelmw/models/NetworkMapModel.h>

#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/LanConnection.h>
#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/vocabulary/Utility.h>

#include <QElapsedTimer>
#include <QList>
#include <QSet>
#include <QTimer>
#include <QVector>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace zelmw {

namespace {

// How long the model waits before it tries again for a lock another thread holds.
constexpr int retryMs = 5;
// How long one turn of the event loop reads devices under the lock; showing what was read
// takes about as long again. A burst of records can leave thousands of devices to read: they
// are read a share per turn, so that the user interface's other events come in between.
constexpr qint64 readBudgetNs = 4000000;

// What one row shows, copied from its device under the model lock, so that views never reach
// into the library.
struct Row
{
    int id = 0;
    QString typeName;
    QString name;
    QString userDefinedName;
    QString ipAddress;
    QString macAddress;
    bool connected = false;
    bool wireless = false;
    bool isMaster = false;
    bool isLocalPc = false;
    bool randomizedMac = false;
    QMap<QString, QString> details;
};

// Under the model lock.
Row readRow(const NetworkMapObject &device, int masterId, int localPcId)
{
    Row row;
    row.id = device.getId();
    row.typeName = device.getTypeName();
    row.name = device.getName();
    row.userDefinedName = device.getUserDefinedName();
    row.ipAddress = device.getIpAddress();
    row.macAddress = device.getMacAddress();
    row.randomizedMac = Utility::isLocallyAdministeredMac(row.macAddress);
    row.connected = device.getIsConnected();
    row.wireless = device.getConnectionType() == LAN_TYPE_WIRELESS;
    row.isMaster = row.id == masterId;
    row.isLocalPc = row.id == localPcId;
    row.details = device.getDetailNameValueMap();
    return row;
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

QVariant cellText(const Row &row, int column)
{
    switch (column) {
    case NetworkMapModel::TypeColumn:
        return row.typeName;
    case NetworkMapModel::NameColumn:
        return row.userDefinedName.isEmpty() ? row.name : row.userDefinedName;
    case NetworkMapModel::IpAddressColumn:
        return row.ipAddress;
    case NetworkMapModel::MacAddressColumn:
        return row.macAddress;
    case NetworkMapModel::ConnectedColumn:
        return yesNo(row.connected);
    case NetworkMapModel::WirelessColumn:
        return yesNo(row.wireless);
    case NetworkMapModel::RoleColumn:
        if (row.isMaster)
            return QStringLiteral("master gateway");
        return row.isLocalPc ? QStringLiteral("this PC") : QString();
    default:
        return QVariant();
    }
}

QVariant roleValue(const Row &row, int role)
{
    switch (role) {
    case NetworkMapModel::DeviceIdRole:
        return row.id;
    case NetworkMapModel::TypeNameRole:
        return row.typeName;
    case NetworkMapModel::NameRole:
        return row.name;
    case NetworkMapModel::IpAddressRole:
        return row.ipAddress;
    case NetworkMapModel::MacAddressRole:
        return row.macAddress;
    case NetworkMapModel::ConnectedRole:
        return row.connected;
    case NetworkMapModel::WirelessRole:
        return row.wireless;
    case NetworkMapModel::IsMasterRole:
        return row.isMaster;
    case NetworkMapModel::IsLocalPcRole:
        return row.isLocalPc;
    case NetworkMapModel::UserDefinedNameRole:
        return row.userDefinedName;
    case NetworkMapModel::RandomizedMacRole:
        return row.randomizedMac;
    case NetworkMapModel::DetailsRole: {
        QVariantMap details;
        for (auto it = row.details.begin(); it != row.details.end(); ++it)
            details.insert(it.key(), it.value());
        return details;
    }
    default:
        return QVariant();
    }
}

bool sameRole(const Row &a, const Row &b, int role)
{
    return role == NetworkMapModel::DetailsRole ? a.details == b.details
                                                : roleValue(a, role) == roleValue(b, role);
}

} // namespace

// Brings a change of the map in use, announced on whatever thread made it, over to the model's
// thread. Invoked by name, queued, so nothing the announcing thread made (such as a copy of
// the map's shared pointer) is read or destroyed on the model's: a handoff inside Qt, where
// ThreadSanitizer cannot see it, would leave such an object's accesses unordered.
class NetworkMapModelWaker : public QObject
{
    Q_OBJECT

public:
    NetworkMapModelWaker(std::function<void()> wake, QObject *parent)
        : QObject(parent)
        , m_wake(std::move(wake))
    { }

public slots:
    void inUseMapChanged() { m_wake(); }

private:
    std::function<void()> m_wake;
};

// The rows, what the model listens to, and the ids it still has to read again. Used on the
// model's thread only; the library is read under the model lock.
class NetworkMapModel::Implementation
{
public:
    // What reading one id again found: the row, or nothing when the device is not on the map.
    using Reading = std::pair<int, std::optional<Row>>;

    explicit Implementation(NetworkMapModel *q);

    // The queued notifications land here: ID is read again on the next sync().
    void markDirty(int id);
    // The map in use changed: the next sync() reads it whole.
    void requestReset();
    // Reads what is pending and updates the rows, unless another thread holds the model lock:
    // then it tries again shortly.
    void sync();

    // Under the model lock: the map in use, listened to, and all its rows.
    QVector<Row> readMap();
    // Under the model lock: the dirty ids, with the devices whose role changed, in ascending
    // order (readFirst before them) for as long as the read budget lasts; those left stay
    // dirty.
    QVector<Reading> readDirty();
    // Applies what readDirty() found to the rows, announcing each change to views.
    void apply(const QVector<Reading> &readings);
    void changeRow(int position, const Row &row);

    // Under the model lock.
    void listenToMap();
    void listenToDevice(const NetworkMap::NetworkMapObjectPtr &device);
    void forgetDevice(int id);
    void forgetAll();

    int position(int id) const;
    // Whether INDEX is a cell of this table.
    bool isRow(const QModelIndex &index) const
    {
        return index.isValid() && q->checkIndex(index, CheckIndexOption::ParentIsInvalid);
    }
    void schedule();

    NetworkMapModel *const q;
    // The map shown; null when there was no map in use.
    NetworkMapSharedPtr map;
    // In ascending id.
    QVector<Row> rows;
    // The map's master device and local PC, as the rows show them.
    int masterId = 0;
    int localPcId = 0;
    // To InUseMapController::inUseMapChanged, direct: run under the model lock.
    QMetaObject::Connection inUseMapConnection;
    QList<QMetaObject::Connection> mapConnections;
    // By device id: the connections to the device, and the object they were made to (for
    // comparison only: it may be gone).
    QHash<int, QList<QMetaObject::Connection>> deviceConnections;
    QHash<int, const QObject *> deviceObjects;
    QSet<int> dirty;
    // A device whose row must show its change at once, whatever else is dirty.
    int readFirst = 0;
    bool resetPending = false;
    bool syncQueued = false;
    // While apply() announces changes: a view's slot that edits a name must not update the rows
    // under it; its change is read on the next turn of the event loop.
    bool applying = false;
    QTimer *retry;
};

NetworkMapModel::Implementation::Implementation(NetworkMapModel *q)
    : q(q)
    , retry(new QTimer(q))
{
    retry->setSingleShot(true);
    retry->setInterval(retryMs);
    QObject::connect(retry, &QTimer::timeout, q, [this] { sync(); });
}

void NetworkMapModel::Implementation::markDirty(int id)
{
    dirty.insert(id);
    schedule();
}

void NetworkMapModel::Implementation::requestReset()
{
    resetPending = true;
    schedule();
}

void NetworkMapModel::Implementation::schedule()
{
    // One sync for every notification already queued behind this one.
    if (syncQueued || retry->isActive())
        return;
    syncQueued = true;
    QMetaObject::invokeMethod(
        q, [this] { sync(); }, Qt::QueuedConnection);
}

void NetworkMapModel::Implementation::sync()
{
    syncQueued = false;
    if (!resetPending && dirty.isEmpty())
        return;
    if (applying) {
        schedule();
        return;
    }
    QVector<Row> fresh;
    QVector<Reading> readings;
    const bool reset = resetPending;
    {
        const ModelLock lock(std::try_to_lock);
        if (!lock.ownsLock()) {
            // A record is being applied: never wait for it on the user interface's thread.
            retry->start();
            return;
        }
        if (reset)
            fresh = readMap();
        else
            readings = readDirty();
    }
    applying = true;
    if (reset) {
        q->beginResetModel();
        rows = std::move(fresh);
        q->endResetModel();
    } else {
        apply(readings);
    }
    applying = false;
    // What the budget left, on a later turn, after the events waiting now.
    if (!dirty.isEmpty())
        schedule();
}

QVector<Row> NetworkMapModel::Implementation::readMap()
{
    forgetAll();
    resetPending = false;
    dirty.clear();
    map = InUseMapController::getInstance()->getInUseNetworkMap();
    masterId = map ? map->getMasterDeviceId() : 0;
    localPcId = map ? map->getLocalZelPcId() : 0;
    QVector<Row> read;
    if (!map)
        return read;
    listenToMap();
    const QList<NetworkMap::NetworkMapObjectPtr> devices = map->getNwMapObjectList();
    read.reserve(devices.size());
    for (const NetworkMap::NetworkMapObjectPtr &device : devices) {
        listenToDevice(device);
        read << readRow(*device, masterId, localPcId);
    }
    return read;
}

QVector<NetworkMapModel::Implementation::Reading> NetworkMapModel::Implementation::readDirty()
{
    QSet<int> ids;
    std::swap(ids, dirty);
    QVector<Reading> readings;
    if (!map)
        return readings;
    // The role column of the devices that gained or lost a role changes with them.
    const int newMasterId = map->getMasterDeviceId(), newLocalPcId = map->getLocalZelPcId();
    if (newMasterId != masterId)
        ids << masterId << newMasterId;
    if (newLocalPcId != localPcId)
        ids << localPcId << newLocalPcId;
    ids.remove(0);
    masterId = newMasterId;
    localPcId = newLocalPcId;
    QList<int> order(ids.begin(), ids.end());
    std::sort(order.begin(), order.end());
    const auto first = std::find(order.begin(), order.end(), std::exchange(readFirst, 0));
    if (first != order.end())
        std::rotate(order.begin(), first, first + 1);
    QElapsedTimer budget;
    budget.start();
    for (int i = 0; i < order.size(); ++i) {
        if (i > 0 && budget.nsecsElapsed() > readBudgetNs) {
            for (; i < order.size(); ++i)
                dirty.insert(order.at(i));
            break;
        }
        const int id = order.at(i);
        // By id against the map as it is now, whatever order the signals came in.
        if (const NetworkMap::NetworkMapObjectPtr device = map->getNwMapObject(id)) {
            listenToDevice(device);
            readings << Reading(id, readRow(*device, masterId, localPcId));
        } else {
            forgetDevice(id);
            readings << Reading(id, std::nullopt);
        }
    }
    return readings;
}

void NetworkMapModel::Implementation::apply(const QVector<Reading> &readings)
{
    for (const Reading &reading : readings) {
        const int at = position(reading.first);
        const bool shown = at < rows.size() && rows.at(at).id == reading.first;
        if (reading.second && shown) {
            changeRow(at, *reading.second);
        } else if (reading.second) {
            q->beginInsertRows(QModelIndex(), at, at);
            rows.insert(at, *reading.second);
            q->endInsertRows();
        } else if (shown) {
            q->beginRemoveRows(QModelIndex(), at, at);
            rows.remove(at);
            q->endRemoveRows();
        }
    }
}

void NetworkMapModel::Implementation::changeRow(int position, const Row &row)
{
    const Row old = std::exchange(rows[position], row);
    for (int column = 0; column < ColumnCount; ++column) {
        if (cellText(old, column) == cellText(row, column))
            continue;
        const QModelIndex cell = q->index(position, column);
        emit q->dataChanged(cell, cell,
                            column == NameColumn ? QVector<int> { Qt::DisplayRole, Qt::EditRole }
                                                 : QVector<int> { Qt::DisplayRole });
    }
    // The named roles are a row's, in every column.
    QVector<int> roles;
    for (int role = DeviceIdRole; role <= RandomizedMacRole; ++role) {
        if (!sameRole(old, row, role))
            roles << role;
    }
    if (!roles.isEmpty())
        emit q->dataChanged(q->index(position, 0), q->index(position, ColumnCount - 1), roles);
}

void NetworkMapModel::Implementation::listenToMap()
{
    const auto touched = [this](int id) { markDirty(id); };
    const NetworkMap *const source = map.get();
    mapConnections << QObject::connect(source, &NetworkMap::nwMapObjCreated, q, touched,
                                       Qt::QueuedConnection)
                   << QObject::connect(source, &NetworkMap::nwMapObjDeleted, q, touched,
                                       Qt::QueuedConnection)
                   << QObject::connect(source, &NetworkMap::convertLocalZelToPc, q, touched,
                                       Qt::QueuedConnection)
                   << QObject::connect(source, &NetworkMap::nwmapObjConnected, q, touched,
                                       Qt::QueuedConnection)
                   << QObject::connect(source, &NetworkMap::nwmapObjDisconnected, q, touched,
                                       Qt::QueuedConnection);
}

void NetworkMapModel::Implementation::listenToDevice(const NetworkMap::NetworkMapObjectPtr &device)
{
    const int id = device->getId();
    const NetworkMapObject *const source = device.get();
    if (deviceObjects.value(id) == source)
        return;
    // New, or another object entered under the same id.
    forgetDevice(id);
    deviceObjects.insert(id, source);
    const auto touched = [this, id] { markDirty(id); };
    deviceConnections[id] << QObject::connect(source, &NetworkMapObject::detailChanged, q, touched,
                                              Qt::QueuedConnection)
                          << QObject::connect(source, &NetworkMapObject::detailRemoved, q, touched,
                                              Qt::QueuedConnection)
                          << QObject::connect(source, &NetworkMapObject::connected, q, touched,
                                              Qt::QueuedConnection)
                          << QObject::connect(source, &NetworkMapObject::disconnected, q, touched,
                                              Qt::QueuedConnection)
                          << QObject::connect(source, &NetworkMapObject::nameChanged, q, touched,
                                              Qt::QueuedConnection)
                          << QObject::connect(source, &NetworkMapObject::userDefinedNameChanged, q,
                                              touched, Qt::QueuedConnection);
}

void NetworkMapModel::Implementation::forgetDevice(int id)
{
    // A connection whose sender is gone disconnects as nothing.
    for (const QMetaObject::Connection &connection : deviceConnections.take(id))
        QObject::disconnect(connection);
    deviceObjects.remove(id);
}

void NetworkMapModel::Implementation::forgetAll()
{
    for (const QMetaObject::Connection &connection : qAsConst(mapConnections))
        QObject::disconnect(connection);
    mapConnections.clear();
    const QList<int> ids = deviceConnections.keys();
    for (int id : ids)
        forgetDevice(id);
}

int NetworkMapModel::Implementation::position(int id) const
{
    const auto at = std::lower_bound(rows.begin(), rows.end(), id,
                                     [](const Row &row, int value) { return row.id < value; });
    return int(at - rows.begin());
}

NetworkMapModel::NetworkMapModel(QObject *parent)
    : QAbstractTableModel(parent)
    , d(new Implementation(this))
{
    QObject *const waker = new NetworkMapModelWaker([this] { d->requestReset(); }, this);
    // The signal is emitted under the model lock, so the connection is made before the lock is
    // taken below and cut under it: never while the announcing thread runs it. Made before the
    // map is read, so that a change of map in between resets the model once more.
    d->inUseMapConnection = connect(
        InUseMapController::getInstance().get(), &InUseMapController::inUseMapChanged, waker,
        [waker] { QMetaObject::invokeMethod(waker, "inUseMapChanged", Qt::QueuedConnection); },
        Qt::DirectConnection);
    const ModelLock lock;
    d->rows = d->readMap();
}

NetworkMapModel::~NetworkMapModel()
{
    const ModelLock lock;
    disconnect(d->inUseMapConnection);
}

int NetworkMapModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : d->rows.size();
}

int NetworkMapModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant NetworkMapModel::data(const QModelIndex &index, int role) const
{
    if (!d->isRow(index))
        return QVariant();
    const Row &row = d->rows.at(index.row());
    if (role == Qt::DisplayRole || (role == Qt::EditRole && index.column() == NameColumn))
        return cellText(row, index.column());
    if (role == Qt::ToolTipRole && index.column() == MacAddressColumn && row.randomizedMac)
        return tr("A private address: the device may come back under another one.");
    return roleValue(row, role);
}

QVariant NetworkMapModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section >= 0 && section < d->rows.size() ? QVariant(d->rows.at(section).id)
                                                        : QVariant();
    switch (section) {
    case TypeColumn:
        return tr("Type");
    case NameColumn:
        return tr("Name");
    case IpAddressColumn:
        return tr("IP");
    case MacAddressColumn:
        return tr("MAC");
    case ConnectedColumn:
        return tr("Connected");
    case WirelessColumn:
        return tr("Wireless");
    case RoleColumn:
        return tr("Role");
    default:
        return QVariant();
    }
}

Qt::ItemFlags NetworkMapModel::flags(const QModelIndex &index) const
{
    if (!d->isRow(index))
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    return index.column() == NameColumn ? flags | Qt::ItemIsEditable : flags;
}

bool NetworkMapModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || index.column() != NameColumn || !d->isRow(index))
        return false;
    const QString name = value.toString();
    if (name.isEmpty())
        return false;
    const int id = d->rows.at(index.row()).id;
    bool held = false;
    if (d->map) {
        const ModelLock lock;
        if (const NetworkMap::NetworkMapObjectPtr device = d->map->getNwMapObject(id)) {
            device->setUserDefinedName(name);
            held = device->getUserDefinedName() == name;
        }
    }
    // Shown at once rather than when the device's queued signal comes back.
    d->readFirst = id;
    d->markDirty(id);
    d->sync();
    return held;
}

QHash<int, QByteArray> NetworkMapModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractTableModel::roleNames();
    names.insert(DeviceIdRole, "deviceId");
    names.insert(TypeNameRole, "typeName");
    names.insert(NameRole, "name");
    names.insert(IpAddressRole, "ipAddress");
    names.insert(MacAddressRole, "macAddress");
    names.insert(ConnectedRole, "connected");
    names.insert(WirelessRole, "wireless");
    names.insert(IsMasterRole, "isMaster");
    names.insert(IsLocalPcRole, "isLocalPc");
    names.insert(UserDefinedNameRole, "userDefinedName");
    names.insert(DetailsRole, "details");
    names.insert(RandomizedMacRole, "randomizedMac");
    return names;
}

} // namespace zelmw

#include "NetworkMapModel.moc"
