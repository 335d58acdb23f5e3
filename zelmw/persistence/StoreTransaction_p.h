#ifndef ZELMW_PERSISTENCE_STORETRANSACTION_P_H
#define ZELMW_PERSISTENCE_STORETRANSACTION_P_H

#include <zelmw/persistence/ZelDbConnection.h>

namespace zelmw {

// A transaction scope on the calling thread's connection: everything the thread writes
// through any data handler while the scope lives commits or rolls back together. Scopes nest;
// only the outermost one reaches the store, and the connection alone counts how deep they
// are. A scope that ends without commit() rolls the whole transaction back, and so does any
// statement that fails inside it. Begin it only while holding the model lock: an open write
// transaction is a lock too. Writes of the model go through a UnitOfWork, which holds one.
class StoreTransaction
{
public:
    StoreTransaction()
        : m_active(m_connection.open() && m_connection.beginTransaction())
    { }
    ~StoreTransaction()
    {
        if (m_active)
            m_connection.rollbackTransaction();
        m_connection.close();
    }
    StoreTransaction(const StoreTransaction &) = delete;
    StoreTransaction &operator=(const StoreTransaction &) = delete;

    // Whether the transaction began; writes made without it would not be atomic.
    bool isActive() const { return m_active; }

    // False when the scope never began, a statement inside it failed, an inner scope rolled
    // back, or the commit failed (then everything was rolled back).
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
};

} // namespace zelmw

#endif // ZELMW_PERSISTENCE_STORETRANSACTION_P_H
