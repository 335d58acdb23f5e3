#include <zelmw/discovery/DefaultDiscoveryHandler_p.h>
#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMap.h>

namespace zelmw {

void DefaultDiscoveryHandler::handleDiscovery(const QMap<QString, QString> &record)
{
    if (const NetworkMapSharedPtr map = InUseMapController::getInstance()->getInUseNetworkMap())
        map->addDiscovery(record);
}

} // namespace zelmw
