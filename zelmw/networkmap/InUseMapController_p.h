#ifndef ZELMW_NETWORKMAP_INUSEMAPCONTROLLER_P_H
#define ZELMW_NETWORKMAP_INUSEMAPCONTROLLER_P_H

#include <zelmw/networkmap/InUseMapController.h>

namespace zelmw {

// The map in use as the controller holds it, and the map repository's word that a map is
// gone. Guarded by the model lock.
class InUseMapController::Implementation
{
public:
    // The process's controller.
    static Implementation &instance() { return *getInstance()->d; }

    explicit Implementation(InUseMapController *q);
    ~Implementation();
    Implementation(const Implementation &) = delete;
    Implementation &operator=(const Implementation &) = delete;

    // A deleted map is no longer held, as after reset().
    void forget(const NetworkMapSharedPtr &map);
    // MAP becomes the map in use, remembered in the configuration.
    void change(const NetworkMapSharedPtr &map);
    // Before a change: the unit of work restores the held map and the update flag if it fails.
    void remember();

    InUseMapController *const q;
    bool updatingCpe = false;
    NetworkMapSharedPtr inUseMap;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_INUSEMAPCONTROLLER_P_H
