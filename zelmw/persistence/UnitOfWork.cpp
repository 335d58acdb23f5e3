#include <zelmw/persistence/UnitOfWork_p.h>

#include <zelmw/vocabulary/ZelConstants.h>

#include <zellogger/ZelLogger.h>

#include <QObject>
#include <QPointer>

#include <exception>
#include <unordered_set>
#include <utility>
#include <vector>

namespace zelmw {

namespace {

void logError(const QString &what)
{
    ZelLogger::getInstance()->log(
        QStringLiteral("UnitOfWork - a receiver of a signal failed after the commit: ") + what,
        ZelLogger::ERROR_LEVEL, LOGGER_NAME);
}

} // namespace

// What the outermost unit of a thread holds until it ends. One per thread, reused, so that a
// unit allocates only as its lists grow past what earlier units needed.
class UnitOfWork::Journal
{
public:
    struct HeldSignal
    {
        QPointer<QObject> sender;
        std::function<void()> emitSignal;
    };
    struct UndoStep
    {
        const void *owner;
        std::function<void()> undo;
    };

    static Journal &ofThread()
    {
        thread_local Journal journal;
        return journal;
    }

    bool open = false;
    bool doomed = false;
    std::vector<HeldSignal> heldSignals;
    std::vector<UndoStep> undoSteps;
    std::unordered_set<const void *> changed;

    void close()
    {
        open = false;
        doomed = false;
        undoSteps.clear();
        changed.clear();
    }

    void rollBack()
    {
        // Taken out first: an undo step may destroy an object, which forgets its own steps.
        std::vector<UndoStep> steps;
        steps.swap(undoSteps);
        heldSignals.clear();
        close();
        for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
            if (step->undo)
                step->undo();
        }
    }

    void emitHeld()
    {
        std::vector<HeldSignal> held;
        held.swap(heldSignals);
        close();
        for (const HeldSignal &signal : held) {
            if (signal.sender)
                signal.emitSignal();
        }
    }
};

UnitOfWork::UnitOfWork()
    : m_uncaughtExceptions(std::uncaught_exceptions())
{
    Journal &journal = Journal::ofThread();
    if (journal.open)
        return;
    journal.open = true;
    m_journal = &journal;
    m_transaction.emplace();
    if (!m_transaction->isActive())
        journal.doomed = true;
}

UnitOfWork::~UnitOfWork()
{
    if (m_finished)
        return;
    if (std::uncaught_exceptions() > m_uncaughtExceptions) {
        rollBack();
        return;
    }
    // A receiver's exception must not leave a destructor; the unit is committed by then.
    try {
        commit();
    } catch (const std::exception &error) {
        logError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        logError(QStringLiteral("unknown exception"));
    }
}

void UnitOfWork::rollBack()
{
    if (m_finished)
        return;
    m_finished = true;
    if (m_journal)
        m_journal->rollBack();
    else
        Journal::ofThread().doomed = true;
}

bool UnitOfWork::commit()
{
    if (m_finished)
        return false;
    m_finished = true;
    if (!m_journal)
        return !Journal::ofThread().doomed;
    if (m_journal->doomed || !m_transaction->commit()) {
        m_journal->rollBack();
        return false;
    }
    m_transaction.reset();
    m_journal->emitHeld();
    return true;
}

bool UnitOfWork::isOpen()
{
    return Journal::ofThread().open;
}

void UnitOfWork::announce(QObject *sender, std::function<void()> emitSignal)
{
    Journal &journal = Journal::ofThread();
    if (journal.open)
        journal.heldSignals.push_back({ QPointer<QObject>(sender), std::move(emitSignal) });
    else
        emitSignal();
}

void UnitOfWork::addUndoStep(const void *owner, std::function<void()> undo)
{
    Journal::ofThread().undoSteps.push_back({ owner, std::move(undo) });
}

bool UnitOfWork::isFirstChange(const void *owner)
{
    Journal &journal = Journal::ofThread();
    return journal.open && journal.changed.insert(owner).second;
}

void UnitOfWork::forget(const void *owner)
{
    Journal &journal = Journal::ofThread();
    if (!journal.open)
        return;
    for (Journal::UndoStep &step : journal.undoSteps) {
        if (step.owner == owner)
            step.undo = nullptr;
    }
    journal.changed.erase(owner);
}

} // namespace zelmw
