#ifndef ZELMW_DISCOVERY_CLIENTLISTSTRATEGY_P_H
#define ZELMW_DISCOVERY_CLIENTLISTSTRATEGY_P_H

#include <zelmw/discovery/IDeviceDiscoverStrategy_p.h>

#include <QList>

namespace zelmw {

class NetworkMap;

// What the mesh and the wireless client strategies share: a record that lists MAC addresses
// joined by "#" under one key marks those devices of the map in use. Without a map in use the
// record is dropped silently; an empty list is logged and changes nothing.
class ClientListStrategy : public IDeviceDiscoverStrategy
{
public:
    void handleDiscovery(const QMap<QString, QString> &record) override;

protected:
    using MapUpdate = void (NetworkMap::*)(const QList<QString> &);

    ClientListStrategy(const QString &key, const QString &emptyListWarning, MapUpdate update);

private:
    const QString m_key;
    const QString m_emptyListWarning;
    const MapUpdate m_update;
};

} // namespace zelmw

#endif // ZELMW_DISCOVERY_CLIENTLISTSTRATEGY_P_H
