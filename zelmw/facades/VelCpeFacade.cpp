#include <zelmw/facades/VelCpeFacade.h>

#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QMap>

namespace zelmw {

VelCpeFacade::VelCpeFacade(const boost::shared_ptr<NetworkMapObject> &networkMapObject)
    : GatewayFacade(networkMapObject)
{ }

VelCpeFacade::VelCpeFacade(const VelCpeFacade &other) = default;

VelCpeFacade &VelCpeFacade::operator=(const VelCpeFacade &other) = default;

VelCpeFacade::~VelCpeFacade() = default;

bool VelCpeFacade::isAccessPoint() const
{
    return isDetailTrue(GATEWAY_PARAM_ISACCESSPOINT);
}

bool VelCpeFacade::isRouter() const
{
    return isDetailTrue(GATEWAY_PARAM_ISROUTER);
}

QString VelCpeFacade::getUserName() const
{
    const QString userName = getDetailValue(GATEWAY_PARAM_USERNAME);
    if (!userName.isNull() || !isVelmoraCpe())
        return userName;
    return ConfigDataFactory::getInstance()->getConfigValue(VEL_CPE_DEFAULT_USERNAME);
}

QString VelCpeFacade::getPassword() const
{
    const QString password = getDetailValue(GATEWAY_PARAM_PASSWORD);
    if (!password.isNull() || !isVelmoraCpe())
        return password;
    return QStringLiteral("");
}

bool VelCpeFacade::isAuthenticated() const
{
    return isDetailTrue(GATEWAY_PARAM_ISAUTHENTICATED);
}

QString VelCpeFacade::getFirmwareVersion() const
{
    return getDetailValue(GATEWAY_PARAM_FW_VERSION);
}

bool VelCpeFacade::hasWirelessFeature() const
{
    return isDetailTrue(GATEWAY_PARAM_WIRELESS_ISSUPPORTED);
}

bool VelCpeFacade::hasVoipFeature() const
{
    return isDetailTrue(GATEWAY_PARAM_VOIP_ISSUPPORTED);
}

bool VelCpeFacade::hasEthFeature() const
{
    return isDetailTrue(GATEWAY_PARAM_ETH_ISSUPPORTED);
}

bool VelCpeFacade::hasDslFeature() const
{
    return isDetailTrue(GATEWAY_PARAM_DSL_ISSUPPORTED);
}

bool VelCpeFacade::has3GFeature() const
{
    return isDetailTrue(GATEWAY_PARAM_3G_ISSUPPORTED);
}

bool VelCpeFacade::hasUsbHostFeature() const
{
    return isDetailTrue(GATEWAY_PARAM_USBHOST_ISSUPPORTED);
}

bool VelCpeFacade::hasUsbHostPrinterConnected() const
{
    return hasUsbHostFeature() && isDetailTrue(GATEWAY_PARAM_USBHOST_PRINTER_CONNECTED);
}

bool VelCpeFacade::hasUsbHostDiskConnected() const
{
    return hasUsbHostFeature() && isDetailTrue(GATEWAY_PARAM_USBHOST_DISK_CONNECTED);
}

QString VelCpeFacade::getUsbHostPrinterModel() const
{
    return hasUsbHostFeature() ? getDetailValue(GATEWAY_PARAM_USBHOST_PRINTER_MODEL)
                               : QStringLiteral("");
}

QString VelCpeFacade::getUsbHostPrinterProduct() const
{
    return hasUsbHostFeature() ? getDetailValue(GATEWAY_PARAM_USBHOST_PRINTER_PRODUCT)
                               : QStringLiteral("");
}

bool VelCpeFacade::hasUpdateCpe() const
{
    return isDetailTrue(DEVICE_PARAM_LIVEUPDATE_HASUPDATE);
}

QString VelCpeFacade::getWebUiUrl() const
{
    if (isNull())
        return QString();
    return QStringLiteral("http://") + getNetworkMapObject()->getIpAddress();
}

bool VelCpeFacade::hasSecurityProxy() const
{
    return isDetailTrue(GATEWAY_PARAM_SECURITY_PROXY_STATUS);
}

bool VelCpeFacade::isWirelessSecurityEnabled() const
{
    return isDetailTrue(GATEWAY_PARAM_WIRELESS_SECURITY_ENABLED);
}

bool VelCpeFacade::saveAuthentication(bool isAuthenticated, const QString &userName,
                                      const QString &password)
{
    if (isNull())
        return false;
    QMap<QString, QString> details;
    if (isAuthenticated) {
        details.insert(GATEWAY_PARAM_USERNAME, userName);
        details.insert(GATEWAY_PARAM_PASSWORD, password);
        details.insert(GATEWAY_PARAM_ISAUTHENTICATED, BOOL_TRUE_VALUE);
    } else {
        details.insert(GATEWAY_PARAM_ISAUTHENTICATED, BOOL_FALSE_VALUE);
    }

    // Saved one by one, in the order the device's saveDetails() takes, to learn each result,
    // in one unit of work: the whole login is stored or none of it. A detail that already
    // holds the value is not written again and saveDetail() answers false for it, but the
    // device holds the value all the same.
    const boost::shared_ptr<NetworkMapObject> &device = getNetworkMapObject();
    UnitOfWork unit;
    bool allHeld = true;
    for (auto detail = details.cbegin(); detail != details.cend(); ++detail) {
        const bool heldBefore = device->hasDetail(detail.key())
            && device->getDetailValue(detail.key(), QString()) == detail.value();
        if (!device->saveDetail(detail.key(), detail.value()) && !heldBefore)
            allHeld = false;
    }
    if (!allHeld) {
        unit.rollBack();
        return false;
    }
    return unit.commit();
}

} // namespace zelmw
