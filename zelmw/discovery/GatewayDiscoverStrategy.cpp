#include <zelmw/discovery/GatewayDiscoverStrategy_p.h>
#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMap_p.h>
#include <zelmw/vocabulary/Utility.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QtGlobal>

namespace zelmw {

void GatewayDiscoverStrategy::handleDiscovery(const QMap<QString, QString> &record)
{
    const QString serialNumber = record.value(UPNP_PARAM_SERIALNUMBER);
    const QString mac = record.value(DEVICE_PARAM_LAN_MACADDRESS).toUpper();
    if (!Utility::isValidMacAddress(mac)) {
        qWarning("GatewayDiscoverStrategy::handleDiscovery - discovery contains invalid mac "
                 "address");
        return;
    }
    const boost::shared_ptr<InUseMapController> controller = InUseMapController::getInstance();
    const bool isRouter = record.value(GATEWAY_PARAM_ISROUTER) == BOOL_TRUE_VALUE;
    const NetworkMapSharedPtr map = isRouter
        ? controller->getInUseNetworkMap(mac, serialNumber, QStringLiteral("Velmora Home Network"))
        : controller->getInUseNetworkMap();
    if (map)
        // Within the bounds already: the handler admitted it.
        NetworkMap::Implementation::of(*map).applyDiscovery(record);
}

} // namespace zelmw
