#ifndef ZELMW_DISCOVERY_MESHCLIENTSSTRATEGY_P_H
#define ZELMW_DISCOVERY_MESHCLIENTSSTRATEGY_P_H

#include <zelmw/discovery/ClientListStrategy_p.h>

namespace zelmw {

// Records with MESH_CLIENT_LIST: the listed devices of the map in use are marked wireless.
class MeshClientsStrategy : public ClientListStrategy
{
public:
    MeshClientsStrategy();
};

} // namespace zelmw

#endif // ZELMW_DISCOVERY_MESHCLIENTSSTRATEGY_P_H
