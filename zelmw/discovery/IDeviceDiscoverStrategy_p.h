#ifndef ZELMW_DISCOVERY_IDEVICEDISCOVERSTRATEGY_P_H
#define ZELMW_DISCOVERY_IDEVICEDISCOVERSTRATEGY_P_H

#include <QMap>
#include <QString>

namespace zelmw {

// Applies one kind of discovery record to the network map it belongs to. Called on the
// listener thread only, one record at a time, inside the model lock.
class IDeviceDiscoverStrategy
{
public:
    virtual ~IDeviceDiscoverStrategy() = default;
    virtual void handleDiscovery(const QMap<QString, QString> &record) = 0;
};

} // namespace zelmw

#endif // ZELMW_DISCOVERY_IDEVICEDISCOVERSTRATEGY_P_H
