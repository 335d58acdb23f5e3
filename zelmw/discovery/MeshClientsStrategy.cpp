#include <zelmw/discovery/MeshClientsStrategy_p.h>
#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/vocabulary/ZelConstants.h>

namespace zelmw {

MeshClientsStrategy::MeshClientsStrategy()
    : ClientListStrategy(
        MESH_CLIENT_LIST,
        QStringLiteral("MeshClientsStrategy - handleDiscovery: MESH_CLIENT_LIST is empty"),
        &NetworkMap::updateMeshClientList)
{ }

} // namespace zelmw
