#ifndef ZELMW_DISCOVERY_NETWORKMAPBUILDER_P_H
#define ZELMW_DISCOVERY_NETWORKMAPBUILDER_P_H

#include <zelmw/networkmap/NetworkMap.h>

namespace zelmw {

// Assembles a stored network map in steps that a director runs in a fixed order.
class NetworkMapBuilder
{
public:
    virtual ~NetworkMapBuilder() = default;

    virtual void constructNetworkMap(const boost::shared_ptr<zeldb::NetworkMapsRecord> &record,
                                     QObject *parent)
        = 0;
    virtual void constructNetworkMapObjects() = 0;
    virtual void completeNetworkMap() = 0;

    // Null when no map was constructed.
    NetworkMapSharedPtr getResult() const { return m_networkMap; }

protected:
    NetworkMapSharedPtr m_networkMap;
};

} // namespace zelmw

#endif // ZELMW_DISCOVERY_NETWORKMAPBUILDER_P_H
