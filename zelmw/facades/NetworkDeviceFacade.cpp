#include <zelmw/facades/NetworkDeviceFacade.h>

#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/networkmap/PresenceHistory_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/vocabulary/Utility.h>
#include <zelmw/vocabulary/ZelConstants.h>

namespace zelmw {

NetworkDeviceFacade::NetworkDeviceFacade(
    const boost::shared_ptr<NetworkMapObject> &networkMapObject)
    : m_networkMapObject(networkMapObject)
{ }

NetworkDeviceFacade::NetworkDeviceFacade(const NetworkDeviceFacade &other) = default;

NetworkDeviceFacade &NetworkDeviceFacade::operator=(const NetworkDeviceFacade &other) = default;

NetworkDeviceFacade::~NetworkDeviceFacade() = default;

bool NetworkDeviceFacade::isNull() const
{
    return !m_networkMapObject;
}

QString NetworkDeviceFacade::getUpnpPort() const
{
    return getDetailValue(UPNP_PARAM_DEVICE_UPNPPORT);
}

QString NetworkDeviceFacade::getUpnpPath() const
{
    return getDetailValue(UPNP_PARAM_DEVICE_UPNPPATH);
}

QString NetworkDeviceFacade::getUpnpDeviceType() const
{
    return getDetailValueOrEmpty(UPNP_PARAM_DEVICETYPE);
}

QString NetworkDeviceFacade::getUpnpManufacturer() const
{
    return getDetailValueOrEmpty(UPNP_PARAM_MANUFACTURER);
}

QString NetworkDeviceFacade::getUpnpManufacturerUrl() const
{
    return getDetailValueOrEmpty(UPNP_PARAM_MANUFACTURERURL);
}

QString NetworkDeviceFacade::getUpnpModelDescription() const
{
    return getDetailValueOrEmpty(UPNP_PARAM_MODELDESCRIPTION);
}

QString NetworkDeviceFacade::getUpnpModelName() const
{
    return getDetailValueOrEmpty(UPNP_PARAM_MODELNAME);
}

QString NetworkDeviceFacade::getUpnpSerialNumber() const
{
    return getDetailValueOrEmpty(UPNP_PARAM_SERIALNUMBER);
}

bool NetworkDeviceFacade::isRandomizedMac() const
{
    return m_networkMapObject
        && Utility::isLocallyAdministeredMac(m_networkMapObject->getMacAddress());
}

QDateTime NetworkDeviceFacade::getLastSeen() const
{
    if (!m_networkMapObject)
        return QDateTime();
    if (m_networkMapObject->getIsConnected())
        return QDateTime::currentDateTimeUtc();
    const QList<PresenceSession> sessions = getPresenceHistory();
    for (auto session = sessions.crbegin(); session != sessions.crend(); ++session) {
        if (session->to.isValid())
            return session->to.toUTC();
    }
    return m_networkMapObject->getDisconnectTime().toUTC();
}

QList<PresenceSession> NetworkDeviceFacade::getPresenceHistory() const
{
    if (!m_networkMapObject)
        return {};
    const ModelLock lock;
    return PresenceHistory::sessions(m_networkMapObject->getNetworkMapId(),
                                     m_networkMapObject->getMacAddress());
}

const boost::shared_ptr<NetworkMapObject> &NetworkDeviceFacade::getNetworkMapObject() const
{
    return m_networkMapObject;
}

QString NetworkDeviceFacade::getDetailValue(const QString &name) const
{
    // A facade over no device answers as a device without details instead of crashing.
    if (!m_networkMapObject)
        return QString();
    return m_networkMapObject->getDetailValue(name, QString());
}

QString NetworkDeviceFacade::getDetailValueOrEmpty(const QString &name) const
{
    const QString value = getDetailValue(name);
    return value.isNull() ? QStringLiteral("") : value;
}

bool NetworkDeviceFacade::isDetailTrue(const QString &name) const
{
    return getDetailValue(name) == BOOL_TRUE_VALUE;
}

bool NetworkDeviceFacade::saveDetail(const QString &name, const QString &value)
{
    return m_networkMapObject && m_networkMapObject->saveDetail(name, value);
}

} // namespace zelmw
