#include <zelmw/discovery/WirelessClientsStrategy_p.h>
#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/vocabulary/ZelConstants.h>

namespace zelmw {

WirelessClientsStrategy::WirelessClientsStrategy()
    : ClientListStrategy(
        WIRELESS_CLIENT_LIST,
        QStringLiteral("WirelessClientsStrategy - handleDiscovery: WIRELESS_CLIENT_LIST is empty"),
        &NetworkMap::updateWirelessClientList)
{ }

} // namespace zelmw
