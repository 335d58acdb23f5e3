#include <zeldb/StatementFaults_p.h>

#include <QSqlError>
#include <QString>

namespace zeldb {

namespace {

// Test-only state, so one per thread is enough: the fault belongs to the thread that asked.
thread_local qint64 executedCount = 0;
thread_local qint64 failingStatement = 0;
thread_local StatementFaults::Kind failingKind = StatementFaults::Kind::IoError;

} // namespace

void StatementFaults::failNth(qint64 k, Kind kind)
{
    failingStatement = executedCount + k;
    failingKind = kind;
}

void StatementFaults::clear()
{
    failingStatement = 0;
}

qint64 StatementFaults::executed()
{
    return executedCount;
}

void StatementFaults::resetCount()
{
    failingStatement = failingStatement > executedCount ? failingStatement - executedCount : 0;
    executedCount = 0;
}

// The texts and primary result codes SQLite itself reports for these failures.
bool StatementFaults::failsNext(QSqlError &error)
{
    if (++executedCount != failingStatement)
        return false;
    failingStatement = 0;
    const bool io = failingKind == Kind::IoError;
    const QString text
        = io ? QStringLiteral("disk I/O error") : QStringLiteral("database is locked");
    error = QSqlError(QStringLiteral("Unable to execute statement"), text,
                      QSqlError::StatementError, io ? QStringLiteral("10") : QStringLiteral("5"));
    return true;
}

} // namespace zeldb
