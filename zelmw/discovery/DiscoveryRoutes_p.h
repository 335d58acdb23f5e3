#ifndef ZELMW_DISCOVERY_DISCOVERYROUTES_P_H
#define ZELMW_DISCOVERY_DISCOVERYROUTES_P_H

#include <zelmw/discovery/DiscoveryHandler.h>

#include <QMap>
#include <QString>
#include <boost/shared_ptr.hpp>

#include <functional>

namespace zelmw {

class IDeviceDiscoverStrategy;

// The routing table of discovery records: one strategy per device kind, and one per client
// list, chosen by the first present key of NS_DEVICE_TYPE, MESH_CLIENT_LIST and
// WIRELESS_CLIENT_LIST. Used on one thread: the listener's, or a test's.
class DiscoveryRoutes
{
public:
    DiscoveryRoutes();
    ~DiscoveryRoutes();
    DiscoveryRoutes(const DiscoveryRoutes &) = delete;
    DiscoveryRoutes &operator=(const DiscoveryRoutes &) = delete;

    // Applies RECORD as one unit of work: all of it is stored, or none of it and memory stays
    // as it was. An exception abandons the record with one error line. True when committed.
    // OBSERVER, when set, sees the record first, inside the unit.
    using Observer = std::function<void(const DiscoveryType &record)>;
    bool apply(const DiscoveryType &record, const Observer &observer = {}) const;

private:
    using StrategyPtr = boost::shared_ptr<IDeviceDiscoverStrategy>;

    void dispatch(const DiscoveryType &record) const;
    void dispatchNetworkScan(const DiscoveryType &record) const;

    QMap<QString, StrategyPtr> m_handlers;
    const StrategyPtr m_meshClients;
    const StrategyPtr m_wirelessClients;
};

} // namespace zelmw

#endif // ZELMW_DISCOVERY_DISCOVERYROUTES_P_H
