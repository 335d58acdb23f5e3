#ifndef ZELMW_DISCOVERY_DEFAULTDISCOVERYHANDLER_P_H
#define ZELMW_DISCOVERY_DEFAULTDISCOVERYHANDLER_P_H

#include <zelmw/discovery/IDeviceDiscoverStrategy_p.h>

namespace zelmw {

// PCs and unknown devices: the record goes to the map in use; without one it is dropped.
class DefaultDiscoveryHandler : public IDeviceDiscoverStrategy
{
public:
    void handleDiscovery(const QMap<QString, QString> &record) override;
};

} // namespace zelmw

#endif // ZELMW_DISCOVERY_DEFAULTDISCOVERYHANDLER_P_H
