#include <zelmw/networkmap/NetworkMapObject_p.h>

#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/networkmap/NetworkMapObjectDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectDetailDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectDetail_p.h>
#include <zelmw/networkmap/NetworkMap_p.h>
#include <zelmw/networkmap/PresenceHistory_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/Utility.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <boost/make_shared.hpp>

#include <stdexcept>

namespace zelmw {

using zeldb::NetworkMapObjectsRecord;

NetworkMapObject::Implementation::Implementation(NetworkMapObject *q)
    : q(q)
{ }

NetworkMapObject::Implementation::~Implementation()
{
    UnitOfWork::forget(this);
}

boost::shared_ptr<NetworkMapObject>
NetworkMapObject::Implementation::create(const boost::shared_ptr<NetworkMapObjectsRecord> &record,
                                         const boost::shared_ptr<MapObject> &type,
                                         const DetailRecordPtr *details, int count,
                                         int leaseSeconds)
{
    return boost::shared_ptr<NetworkMapObject>(
        new NetworkMapObject(record, type, details, count, leaseSeconds));
}

int NetworkMapObject::Implementation::configuredLeaseSeconds()
{
    // Missing, not a number or below one second: the default.
    const int seconds
        = ConfigDataFactory::getInstance()->getConfigValue(DEFAULT_LEASE_TIME).toInt();
    return seconds >= 1 ? seconds : DEFAULT_LEASE_TIME_DEFAULT.toInt();
}

void NetworkMapObject::Implementation::remember()
{
    UnitOfWork::remember(this, [this] {
        return [this, record = *m_record, mapObject = m_mapObject, details = m_details,
                dirtyFields = m_dirtyFields, owner = m_owner, connection = m_connection] {
            m_details.forEach([](const DetailPtr &detail) {
                NetworkMapObjectDetail::Implementation::of(*detail).owner = nullptr;
            });
            if (m_owner)
                m_owner->deviceRestored();
            *m_record = record;
            m_mapObject = mapObject;
            m_details = details;
            m_details.forEach([this](const DetailPtr &detail) {
                NetworkMapObjectDetail::Implementation::of(*detail).owner = this;
            });
            m_dirtyFields = dirtyFields;
            m_owner = owner;
            m_connection = connection;
            if (m_owner)
                m_owner->deviceRestored();
        };
    });
}

void NetworkMapObject::Implementation::setConnection(const ConnectionRules &rules)
{
    if (rules == m_connection)
        return;
    remember();
    const bool steadinessChanged = rules.isSteady() != m_connection.isSteady();
    m_connection = rules;
    // A change of steadiness moves the device between the map's lists of addresses.
    if (steadinessChanged && m_owner)
        m_owner->devices.connectionsChanged();
}

void NetworkMapObject::Implementation::setOwner(NetworkMap::Implementation *owner)
{
    remember();
    m_owner = owner;
}

void NetworkMapObject::Implementation::releaseOwner(const NetworkMap::Implementation *owner)
{
    if (m_owner == owner) {
        remember();
        m_owner = nullptr;
    }
}

void NetworkMapObject::Implementation::setRecord(
    const boost::shared_ptr<NetworkMapObjectsRecord> &record,
    const boost::shared_ptr<MapObject> &type)
{
    if (!record)
        throw std::invalid_argument("NetworkMapObject::setRecord failed");
    m_record = record;
    m_connection = ConnectionRules(record->IsConnected(), m_connection.leaseSeconds());
    m_mapObject = type;
}

void NetworkMapObject::Implementation::loadDetails(const DetailRecordPtr *records, int count)
{
    m_details.clear();
    m_details.reserve(count);
    for (int i = 0; i < count; ++i) {
        const DetailRecordPtr &record = records[i];
        // The type's parameters are in memory; only a parameter it does not know is read.
        const boost::shared_ptr<MapObjectParameter> parameter = m_mapObject
            ? m_mapObject->getParameter(int(record->MapObjectParameterId()))
            : boost::shared_ptr<MapObjectParameter>();
        // One allocation for the detail and its count: a map holds thousands of them.
        const DetailPtr detail = parameter
            ? boost::make_shared<NetworkMapObjectDetail>(record, parameter->getName())
            : boost::make_shared<NetworkMapObjectDetail>(record);
        // A detail whose parameter is gone cannot be found by name: drop it.
        if (!NetworkMapObjectDetail::Implementation::of(*detail).m_paramName.isEmpty())
            addDetail(detail);
    }
}

void NetworkMapObject::Implementation::addDetail(const DetailPtr &detail)
{
    const QString &name = NetworkMapObjectDetail::Implementation::of(*detail).m_paramName;
    remember();
    m_details.add(detail->getId(), name, detail);
    if (name == DEVICE_PARAM_LAN_IPADDRESS && m_owner)
        m_owner->devices.addressChanged();
    // The detail reports its changes through this object on the thread that made them, in
    // order with this object's other signals, whatever thread either object belongs to.
    NetworkMapObjectDetail::Implementation::of(*detail).owner = this;
}

void NetworkMapObject::Implementation::removeDetail(const DetailPtr &detail)
{
    remember();
    // By id: another detail may have been entered under the same name since.
    m_details.removeId(detail->getId());
    NetworkMapObjectDetail::Implementation::of(*detail).owner = nullptr;
    if (detail->getParamName() == DEVICE_PARAM_LAN_IPADDRESS && m_owner)
        m_owner->devices.addressChanged();
    UnitOfWork::announce(q, [q = q, name = detail->getParamName(), value = detail->getValue()] {
        emit q->detailRemoved(name, value);
    });
}

void NetworkMapObject::Implementation::detailChanged(const QString &name, const QString &value)
{
    if (name == DEVICE_PARAM_LAN_IPADDRESS && m_owner)
        m_owner->devices.addressChanged();
    UnitOfWork::announce(q, [q = q, name, value] { emit q->detailChanged(name, value); });
}

NetworkMapObject::NetworkMapObject(const boost::shared_ptr<NetworkMapObjectsRecord> &record,
                                   QObject *parent)
    : QObject(parent)
    , d(new Implementation(this))
{
    d->setRecord(record,
                 record ? MapObjectFactory::getInstance()->getMapObject(int(record->MapObjectId()))
                        : boost::shared_ptr<MapObject>());
    const QVector<Implementation::DetailRecordPtr> details
        = NetworkMapObjectDetailDataHandler().getRecordsByNetworkMapObjectId(getId());
    d->loadDetails(details.constData(), details.size());
    d->m_connection.setLeaseSeconds(Implementation::configuredLeaseSeconds());
}

NetworkMapObject::NetworkMapObject(const boost::shared_ptr<NetworkMapObjectsRecord> &record,
                                   const boost::shared_ptr<MapObject> &type,
                                   const DetailRecordPtr *details, int count, int leaseSeconds)
    : d(new Implementation(this))
{
    d->setRecord(record, type);
    d->loadDetails(details, count);
    d->m_connection.setLeaseSeconds(leaseSeconds);
}

NetworkMapObject::~NetworkMapObject()
{
    // A detail held elsewhere may still be set on another thread; once cut off under the
    // lock it can no longer reach this object while it is being destroyed.
    const ModelLock lock;
    d->m_details.forEach([](const DetailPtr &detail) {
        NetworkMapObjectDetail::Implementation::of(*detail).owner = nullptr;
    });
}

int NetworkMapObject::getId() const
{
    const ModelLock lock;
    return int(d->m_record->Id());
}

int NetworkMapObject::getNetworkMapId() const
{
    const ModelLock lock;
    return int(d->m_record->NetworkMapId());
}

int NetworkMapObject::getMapObjectId() const
{
    const ModelLock lock;
    return int(d->m_record->MapObjectId());
}

QString NetworkMapObject::getName() const
{
    const ModelLock lock;
    return d->m_record->Name();
}

QString NetworkMapObject::getMacAddress() const
{
    const ModelLock lock;
    return d->m_record->MacAddress();
}

QDateTime NetworkMapObject::getCreateDate() const
{
    const ModelLock lock;
    return d->m_record->CreateDate();
}

QDateTime NetworkMapObject::getUpdate() const
{
    const ModelLock lock;
    return d->m_record->UpdateDate();
}

bool NetworkMapObject::getIsConnected() const
{
    const ModelLock lock;
    return d->m_connection.isConnected();
}

LanConnectionStatus NetworkMapObject::getConnectionStatus() const
{
    return getIsConnected() ? LAN_STATUS_CONNECTED : LAN_STATUS_DISCONNECTED;
}

LanConnectionType NetworkMapObject::getConnectionType() const
{
    return getDetailValue(DEVICE_PARAM_LAN_CONNECTION_ISWIRELESS, QString()) == BOOL_TRUE_VALUE
        ? LAN_TYPE_WIRELESS
        : LAN_TYPE_WIRED;
}

QString NetworkMapObject::getTypeName() const
{
    const ModelLock lock;
    return d->m_mapObject ? d->m_mapObject->getName() : QStringLiteral("");
}

boost::shared_ptr<MapObject> NetworkMapObject::getMapObject() const
{
    const ModelLock lock;
    return d->m_mapObject;
}

boost::shared_ptr<NetworkMap> NetworkMapObject::getNetworkMap() const
{
    return NetworkMapFactory::getInstance()->getNetworkMap(getNetworkMapId());
}

QString NetworkMapObject::getIpAddress() const
{
    const ModelLock lock;
    // The row's address only when there is no detail: most devices have one.
    const DetailPtr detail = d->m_details.find(DEVICE_PARAM_LAN_IPADDRESS);
    return detail ? detail->getValue() : d->m_record->IpAddress();
}

QString NetworkMapObject::getUserDefinedName() const
{
    return getDetailValue(DEVICE_PARAM_USER_DEFINED_NAME, QLatin1String(""));
}

bool NetworkMapObject::hasUserDefinedName() const
{
    return !getUserDefinedName().isEmpty();
}

QDateTime NetworkMapObject::getDisconnectTime() const
{
    const ModelLock lock;
    const DetailPtr detail = getDetail(DEVICE_PARAM_LAN_DISCONNECT_TIME);
    return detail ? ConnectionRules::parseTime(detail->getValue()) : QDateTime();
}

NetworkMapObject::DetailPtr NetworkMapObject::getDetail(const QString &name) const
{
    const ModelLock lock;
    return d->m_details.find(name);
}

NetworkMapObject::DetailPtr NetworkMapObject::getDetail(int id) const
{
    const ModelLock lock;
    return d->m_details.get(id);
}

bool NetworkMapObject::hasDetail(const QString &name) const
{
    const ModelLock lock;
    return d->m_details.containsKey(name);
}

bool NetworkMapObject::hasDetail(int id) const
{
    const ModelLock lock;
    return d->m_details.containsId(id);
}

QString NetworkMapObject::getDetailValue(const QString &name, const QString &defaultValue) const
{
    const ModelLock lock;
    const DetailPtr detail = getDetail(name);
    return detail ? detail->getValue() : defaultValue;
}

QString NetworkMapObject::getDetailValue(int id, const QString &defaultValue) const
{
    const ModelLock lock;
    const DetailPtr detail = getDetail(id);
    return detail ? detail->getValue() : defaultValue;
}

QList<NetworkMapObject::DetailPtr> NetworkMapObject::getDetailList() const
{
    const ModelLock lock;
    return d->m_details.values();
}

QMap<QString, QString> NetworkMapObject::getDetailNameValueMap() const
{
    const ModelLock lock;
    QMap<QString, QString> values;
    d->m_details.forEachKey([&](const QString &name, const DetailPtr &detail) {
        values.insert(name, detail->getValue());
    });
    return values;
}

NetworkMapObject::DetailPtr NetworkMapObject::createDetail(const QString &name,
                                                           const QString &value)
{
    UnitOfWork unit;
    // The store refuses an empty value; refuse it before the type grows a parameter for it.
    if (!d->m_mapObject || value.isEmpty())
        return DetailPtr();
    const boost::shared_ptr<MapObjectParameter> parameter
        = d->m_mapObject->getParameter(name, true);
    if (!parameter)
        return DetailPtr();
    const NetworkMapObjectDetailDataHandler::RecordPtr record
        = NetworkMapObjectDetailDataHandler().addRecord(getId(), parameter->getId(), value);
    if (!record)
        return DetailPtr();
    const DetailPtr detail
        = boost::make_shared<NetworkMapObjectDetail>(record, parameter->getName());
    d->addDetail(detail);
    d->detailChanged(name, value);
    return unit.finish(detail);
}

bool NetworkMapObject::saveDetail(const QString &name, const QString &value)
{
    // The value and its row change together: a failed write leaves the old value.
    UnitOfWork unit;
    const DetailPtr detail = getDetail(name);
    if (!detail)
        return unit.finish(bool(createDetail(name, value)));
    detail->setValue(value);
    return unit.finish(detail->saveData());
}

void NetworkMapObject::saveDetails(const QMap<QString, QString> &details)
{
    UnitOfWork unit;
    for (auto detail = details.cbegin(); detail != details.cend(); ++detail)
        saveDetail(detail.key(), detail.value());
}

bool NetworkMapObject::deleteDetail(const QString &name)
{
    UnitOfWork unit;
    const DetailPtr detail = getDetail(name);
    if (!detail || !detail->deleteData())
        return false;
    d->removeDetail(detail);
    return unit.finish(true);
}

void NetworkMapObject::deleteDetails()
{
    UnitOfWork unit;
    for (const DetailPtr &detail : getDetailList()) {
        if (detail->deleteData())
            d->removeDetail(detail);
    }
}

void NetworkMapObject::setName(const QString &name)
{
    const ModelLock lock;
    if (name.isEmpty() || name == d->m_record->Name())
        return;
    d->remember();
    d->m_dirtyFields.set(*d->m_record, NetworkMapObjectsRecord::FieldName, name);
    UnitOfWork::announce(this, [this, name] { emit nameChanged(name); });
}

void NetworkMapObject::setMacAddress(const QString &mac)
{
    const ModelLock lock;
    if (!Utility::isValidMacAddress(mac) || mac == d->m_record->MacAddress())
        return;
    d->remember();
    d->m_dirtyFields.set(*d->m_record, NetworkMapObjectsRecord::FieldMacAddress, mac);
    if (d->m_owner)
        d->m_owner->devices.macChanged();
}

void NetworkMapObject::setIpAddress(const QString &ip)
{
    UnitOfWork unit;
    if (Utility::isValidIpAddress(ip))
        saveDetail(DEVICE_PARAM_LAN_IPADDRESS, ip);
}

void NetworkMapObject::setUserDefinedName(const QString &name)
{
    UnitOfWork unit;
    if (!name.isEmpty() && saveDetail(DEVICE_PARAM_USER_DEFINED_NAME, name))
        UnitOfWork::announce(this, [this, name] { emit userDefinedNameChanged(name); });
}

void NetworkMapObject::setIsConnected(bool isConnected, bool force)
{
    UnitOfWork unit;
    // Only a disconnected device reported disconnected may see its lease run out: only then
    // are the clock and the stored disconnect time read, not on every report of a map.
    const bool mayExpire = !isConnected && !d->m_connection.isConnected();
    const QDateTime now = mayExpire ? QDateTime::currentDateTime() : QDateTime();
    ConnectionRules rules = d->m_connection;
    const ConnectionRules::Change change
        = rules.report(isConnected, force, mayExpire ? getDisconnectTime() : QDateTime(), now);
    d->setConnection(rules);
    switch (change) {
    case ConnectionRules::Change::None:
        break;
    case ConnectionRules::Change::Connected:
    case ConnectionRules::Change::Disconnected: {
        d->m_record->setIsConnected(isConnected);
        d->m_dirtyFields.setFieldDirty(NetworkMapObjectsRecord::FieldIsConnected);
        saveData();
        if (isConnected)
            PresenceHistory::connected(getNetworkMapId(), getMacAddress(),
                                       QDateTime::currentDateTimeUtc());
        else
            PresenceHistory::disconnected(getNetworkMapId(), getMacAddress(),
                                          QDateTime::currentDateTimeUtc());
        if (!isConnected)
            saveDetail(DEVICE_PARAM_LAN_DISCONNECT_TIME,
                       ConnectionRules::formatTime(QDateTime::currentDateTime()));
        // The map relays first, as it did when it was the first receiver; a call rather than
        // three connections, which took more memory per device than its row.
        if (d->m_owner)
            d->m_owner->deviceConnectionChanged(getId(), isConnected);
        UnitOfWork::announce(this, [this, isConnected] {
            if (isConnected)
                emit connected();
            else
                emit disconnected();
        });
        break;
    }
    case ConnectionRules::Change::LeaseExpired:
        if (d->m_owner)
            d->m_owner->leaseExpired(getId());
        UnitOfWork::announce(this, [this] { emit timeoutToDelete(); });
        break;
    }
}

void NetworkMapObject::setConnectionStatus(LanConnectionStatus status)
{
    setIsConnected(status == LAN_STATUS_CONNECTED, false);
}

int NetworkMapObject::incrementPingFailCount()
{
    const ModelLock lock;
    ConnectionRules rules = d->m_connection;
    const int failures = rules.countFailure();
    d->setConnection(rules);
    return failures;
}

void NetworkMapObject::resetPingFailCount()
{
    const ModelLock lock;
    ConnectionRules rules = d->m_connection;
    rules.resetFailures();
    d->setConnection(rules);
}

bool NetworkMapObject::checkDeleteTimeout()
{
    const ModelLock lock;
    return d->m_connection.isLeaseExpired(getDisconnectTime(), QDateTime::currentDateTime());
}

QList<QString> NetworkMapObject::getMacAddressList() const
{
    const ModelLock lock;
    QList<QString> macs { getMacAddress().toUpper() };
    if (getTypeName() != DEVICE_TYPE_GATEWAY)
        return macs;
    for (const QString &name :
         { DEVICE_PARAM_LAN_MACADDRESS, GATEWAY_PARAM_ETH_MACADDRESS,
           GATEWAY_PARAM_WIRELESS_MACADDRESS, GATEWAY_PARAM_ADSL_MACADDRESS }) {
        const QString mac = getDetailValue(name, QString());
        if (!mac.isEmpty())
            macs.append(mac.toUpper());
    }
    return macs;
}

bool NetworkMapObject::hasMacAddress(const QString &mac) const
{
    return getMacAddressList().contains(mac.toUpper());
}

bool NetworkMapObject::saveData()
{
    UnitOfWork unit;
    if (!d->m_dirtyFields.isDirty())
        return false;
    d->remember();
    // The table stamps a missing update date.
    return unit.finish(d->m_dirtyFields.save<NetworkMapObjectDataHandler>(*d->m_record));
}

bool NetworkMapObject::deleteData()
{
    UnitOfWork unit;
    d->remember();
    return unit.finish(d->m_dirtyFields.remove<NetworkMapObjectDataHandler>(*d->m_record));
}

} // namespace zelmw
