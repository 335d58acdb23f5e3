#ifndef ZELMW_DISCOVERY_GATEWAYDISCOVERSTRATEGY_P_H
#define ZELMW_DISCOVERY_GATEWAYDISCOVERSTRATEGY_P_H

#include <zelmw/discovery/IDeviceDiscoverStrategy_p.h>

namespace zelmw {

// Gateways: a map stands for the network behind one gateway, so a router's record goes to the
// map of that router, which the in-use controller finds or creates and may switch to; any
// other gateway's record goes to the map in use. Not to be confused with the map's own rule
// for gateway records, which this one hands the record to.
class GatewayDiscoverStrategy : public IDeviceDiscoverStrategy
{
public:
    void handleDiscovery(const QMap<QString, QString> &record) override;
};

} // namespace zelmw

#endif // ZELMW_DISCOVERY_GATEWAYDISCOVERSTRATEGY_P_H
