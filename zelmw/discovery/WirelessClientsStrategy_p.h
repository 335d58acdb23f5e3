#ifndef ZELMW_DISCOVERY_WIRELESSCLIENTSSTRATEGY_P_H
#define ZELMW_DISCOVERY_WIRELESSCLIENTSSTRATEGY_P_H

#include <zelmw/discovery/ClientListStrategy_p.h>

namespace zelmw {

// Records with WIRELESS_CLIENT_LIST: the listed devices of the map in use are marked wireless.
class WirelessClientsStrategy : public ClientListStrategy
{
public:
    WirelessClientsStrategy();
};

} // namespace zelmw

#endif // ZELMW_DISCOVERY_WIRELESSCLIENTSSTRATEGY_P_H
