#include <zelmw/persistence/ModelLock_p.h>

#include <atomic>

namespace zelmw {

namespace {

thread_local int heldDepth = 0;
std::atomic<std::chrono::microseconds::rep> longestWaitUs { 0 };

} // namespace

ModelLock::ModelLock()
{
    // Nested in one of this thread's: the mutex is held already, and operations nest deeply
    // (a map's load takes the lock several times for every detail).
    if (heldDepth > 0) {
        ++heldDepth;
        return;
    }
    std::recursive_mutex &lock = mutex();
    // Only a wait is timed: the lock taken at once costs no clock reading.
    if (!lock.try_lock()) {
        const auto start = std::chrono::steady_clock::now();
        lock.lock();
        const auto waited = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - start)
                                .count();
        auto longest = longestWaitUs.load(std::memory_order_relaxed);
        while (
            waited > longest
            && !longestWaitUs.compare_exchange_weak(longest, waited, std::memory_order_relaxed)) { }
    }
    ++heldDepth;
}

ModelLock::ModelLock(std::try_to_lock_t)
{
    m_owns = heldDepth > 0 || mutex().try_lock();
    if (m_owns)
        ++heldDepth;
}

ModelLock::~ModelLock()
{
    if (!m_owns)
        return;
    if (--heldDepth == 0)
        mutex().unlock();
}

std::chrono::microseconds ModelLock::longestWait()
{
    return std::chrono::microseconds(longestWaitUs.load(std::memory_order_relaxed));
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
