#ifndef ZELMW_PERSISTENCE_MODELLOCK_P_H
#define ZELMW_PERSISTENCE_MODELLOCK_P_H

#include <chrono>
#include <mutex>

namespace zelmw {

// Holds the process-wide lock of the network-map model (maps, devices, their details and the
// map repositories) while it lives. Every public operation of those classes takes it for its
// whole length, so a change made on the discovery thread is seen whole by other threads.
// The lock is recursive: operations build on each other, and a slot connected directly to a
// signal emitted under it may call back in. Lock order: this lock, then the catalogue's or the
// configuration store's lock, then the record store. Never wait for another thread while
// holding it.
// Every store transaction begins inside this lock, and an open write transaction is a lock
// too. So every write takes this lock first, through the UnitOfWork that holds it together
// with the transaction: a thread that holds the store then never waits for one that waits
// for it.
class ModelLock
{
public:
    ModelLock();
    // Takes the lock only when no other thread holds it, without waiting; ownsLock() tells
    // whether it did. For a thread that must never wait for a record being applied, such as
    // the user interface's.
    explicit ModelLock(std::try_to_lock_t);
    ~ModelLock();
    ModelLock(const ModelLock &) = delete;
    ModelLock &operator=(const ModelLock &) = delete;

    // A std:: mutex rather than a Qt one: ThreadSanitizer sees only locks of instrumented code.
    static std::recursive_mutex &mutex();
    // Whether the calling thread holds the lock through a ModelLock; a thread about to wait
    // for another one asks, so as not to deadlock with it.
    static bool isHeldByCurrentThread();
    // The longest any thread has waited for the lock since the process started: what the
    // user interface may have waited for the discovery thread.
    static std::chrono::microseconds longestWait();

    // Whether this object holds the lock: always, unless it was made with std::try_to_lock.
    bool ownsLock() const { return m_owns; }

private:
    bool m_owns = true;
};

} // namespace zelmw

#endif // ZELMW_PERSISTENCE_MODELLOCK_P_H
