#include <zelmw/networkmap/ModelLock_p.h>

namespace zelmw {

namespace {

thread_local int heldDepth = 0;

} // namespace

ModelLock::ModelLock()
    : m_guard(mutex())
{
    ++heldDepth;
}

ModelLock::~ModelLock()
{
    --heldDepth;
}

bool ModelLock::isHeldByCurrentThread()
{
    return heldDepth > 0;
}

std::recursive_mutex &ModelLock::mutex()
{
    // Never destroyed, so that entities released by other static destructors at exit can
    // still take it.
    static std::recursive_mutex *const lock = new std::recursive_mutex;
    return *lock;
}

} // namespace zelmw
