#ifndef ZELMW_NETWORKMAP_NETWORKMAPFACTORY_P_H
#define ZELMW_NETWORKMAP_NETWORKMAPFACTORY_P_H

#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/vocabulary/EntityCache_p.h>

namespace zelmw {

// The map repository's cache: the device repository asks it for a map without loading one.
// Guarded by the model lock.
class NetworkMapFactory::Implementation
{
public:
    // The process's repository.
    static Implementation &instance() { return *getInstance()->d; }

    EntityCache<NetworkMap> cache;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAPFACTORY_P_H
