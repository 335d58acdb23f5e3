#include <zelmw/discovery/DefaultDiscoveryHandler_p.h>
#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMap_p.h>

namespace zelmw {

void DefaultDiscoveryHandler::handleDiscovery(const QMap<QString, QString> &record)
{
    if (const NetworkMapSharedPtr map = InUseMapController::getInstance()->getInUseNetworkMap())
        // Within the bounds already: the handler admitted it.
        NetworkMap::Implementation::of(*map).applyDiscovery(record);
}

} // namespace zelmw
