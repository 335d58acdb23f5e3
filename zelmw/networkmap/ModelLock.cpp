#include <zelmw/networkmap/ModelLock_p.h>

namespace zelmw {

ModelLock::ModelLock()
    : m_guard(mutex())
{ }

std::recursive_mutex &ModelLock::mutex()
{
    // Never destroyed, so that entities released by other static destructors at exit can
    // still take it.
    static std::recursive_mutex *const lock = new std::recursive_mutex;
    return *lock;
}

} // namespace zelmw
