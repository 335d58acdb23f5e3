#ifndef ZELMW_DISCOVERY_DEFAULTNETWORKMAPBUILDER_P_H
#define ZELMW_DISCOVERY_DEFAULTNETWORKMAPBUILDER_P_H

#include <zelmw/discovery/NetworkMapBuilder_p.h>

namespace zelmw {

// Builds a map over its row and enters the devices stored for it, read with one query.
class DefaultNetworkMapBuilder : public NetworkMapBuilder
{
public:
    void constructNetworkMap(const boost::shared_ptr<zeldb::NetworkMapsRecord> &record,
                             QObject *parent) override;
    void constructNetworkMapObjects() override;
    void completeNetworkMap() override;
};

} // namespace zelmw

#endif // ZELMW_DISCOVERY_DEFAULTNETWORKMAPBUILDER_P_H
