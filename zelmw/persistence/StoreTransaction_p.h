#ifndef ZELMW_PERSISTENCE_STORETRANSACTION_P_H
#define ZELMW_PERSISTENCE_STORETRANSACTION_P_H

#include <zelmw/persistence/ZelDbConnection.h>

namespace zelmw {

// A transaction scope on the calling thread's connection: everything the thread writes
// through any data handler while the scope lives commits or rolls back together. Scopes nest;
// only the outermost one reaches the store. A scope that ends without commit() rolls the
// whole transaction back. Begin it only while holding the model lock: an open write
// transaction is a lock too.
class StoreTransaction
{
public:
    StoreTransaction()
        : m_active(m_connection.open() && m_connection.beginTransaction())
        , m_outermost(s_depth++ == 0)
    { }
    ~StoreTransaction()
    {
        if (m_active)
            m_connection.rollbackTransaction();
        m_connection.close();
        --s_depth;
    }
    StoreTransaction(const StoreTransaction &) = delete;
    StoreTransaction &operator=(const StoreTransaction &) = delete;

    // Whether the transaction began; writes made without it would not be atomic.
    bool isActive() const { return m_active; }
    // Whether no other scope encloses this one on this thread: only then does a failed commit
    // mean the store is back where it was, rather than a rollback still to come.
    bool isOutermost() const { return m_outermost; }

    // False when the scope never began, an inner scope rolled back, or the commit failed
    // (then everything was rolled back).
    bool commit()
    {
        if (!m_active)
            return false;
        m_active = false;
        return m_connection.commitTransaction();
    }

private:
    ZelDbConnection m_connection;
    bool m_active;
    bool m_outermost;

    static inline thread_local int s_depth = 0;
};

} // namespace zelmw

#endif // ZELMW_PERSISTENCE_STORETRANSACTION_P_H
