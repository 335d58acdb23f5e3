#ifndef ZELMW_PERSISTENCE_UNITOFWORK_P_H
#define ZELMW_PERSISTENCE_UNITOFWORK_P_H

#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/StoreTransaction_p.h>

#include <functional>
#include <optional>
#include <utility>

class QObject;

namespace zelmw {

// One public change, whole or not at all. The outermost unit on a thread holds the model lock
// and the store transaction; a unit opened inside it joins it. While a unit is open:
// - every statement that fails dooms it, and so does an inner unit that rolls back;
// - the model's signals are held (announce()) and emitted after the store committed, in the
//   order they were raised, on this thread and still under the model lock, so that a receiver
//   connected directly sees committed state and may call back in (as a unit of its own);
// - what an object changes in memory can be undone: an object records how (onRollback(), or
//   remember() for a snapshot of its state at its first change in the unit), and when the
//   unit fails the undo steps run, latest first, so that memory equals the store again. The
//   held signals are then dropped: a receiver never hears of a change that did not happen.
// Outside any unit, announce() emits at once and nothing is recorded.
class UnitOfWork
{
public:
    UnitOfWork();
    // Ends the unit as commit() does, unless an exception is leaving it: then it fails. So an
    // operation that returns early because there is nothing to do does not fail its unit.
    ~UnitOfWork();
    UnitOfWork(const UnitOfWork &) = delete;
    UnitOfWork &operator=(const UnitOfWork &) = delete;

    // The outermost unit commits and then emits the held signals; true once committed. An
    // inner unit only leaves the outcome to the outermost one: true unless the unit failed
    // already. False means the unit failed (and the outermost one rolled back).
    bool commit();
    // The unit fails: the outermost one rolls back store and memory now, an inner one makes
    // the outermost one fail. For a change that cannot be completed after some of it was done.
    void rollBack();
    // RESULT when the unit committed, else a default result (false, null).
    template<typename Result> Result finish(const Result &result)
    {
        return commit() ? result : Result();
    }

    // Whether a unit is open on the calling thread.
    static bool isOpen();
    // Calls EMITSIGNAL now outside a unit, else after the commit; not at all when SENDER has
    // been destroyed by then or the unit failed.
    static void announce(QObject *sender, std::function<void()> emitSignal);
    // UNDO runs if the open unit fails; nothing happens outside a unit. OWNER is the object
    // whose memory UNDO restores, forgotten with forget().
    template<typename Undo> static void onRollback(const void *owner, Undo &&undo)
    {
        if (isOpen())
            addUndoStep(owner, std::forward<Undo>(undo));
    }
    // The first time OWNER changes in the open unit, MAKEUNDO() makes the step that restores
    // OWNER as it is now.
    template<typename MakeUndo> static void remember(const void *owner, MakeUndo makeUndo)
    {
        if (isFirstChange(owner))
            onRollback(owner, makeUndo());
    }
    // OWNER is being destroyed: its undo steps go.
    static void forget(const void *owner);

private:
    class Journal;
    static bool isFirstChange(const void *owner);
    static void addUndoStep(const void *owner, std::function<void()> undo);

    ModelLock m_lock;
    std::optional<StoreTransaction> m_transaction;
    Journal *m_journal = nullptr;
    bool m_finished = false;
    int m_uncaughtExceptions;
};

} // namespace zelmw

#endif // ZELMW_PERSISTENCE_UNITOFWORK_P_H
