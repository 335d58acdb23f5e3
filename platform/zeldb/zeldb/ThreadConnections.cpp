#include <zeldb/OwnerOnlyFile_p.h>
#include <zeldb/Statement_p.h>
#include <zeldb/ThreadConnections_p.h>
#include <zeldb/WriteStatement_p.h>
#include <zeldb/WriterLock_p.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

#include <atomic>
#include <mutex>

namespace zeldb {

namespace {

std::atomic<quint64> nextConnectionNumber { 1 };

QString key(const QString &connectionName, const QString &filePath)
{
    return connectionName + QLatin1Char('\n') + filePath;
}

bool execute(QSqlDatabase &database, const QString &statement, QSqlError &error)
{
    QSqlQuery query(database);
    if (query.exec(statement))
        return true;
    error = query.lastError();
    return false;
}

// The SQLite connection under DATABASE, opened by Qt's driver; null for another driver.
sqlite3 *handleOf(const QSqlDatabase &database)
{
    const QVariant handle = database.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

// Qt closes every connection while the application object is destroyed, before the main
// thread's own destructors run; SQLite refuses to close a file while statements prepared on
// its handle remain (leaving the write-ahead log behind), so the main thread's connections
// close first. Qt's routine exists once a connection was added, and post routines run last
// registered first.
void closeBeforeQtDoes()
{
    static std::once_flag registered;
    std::call_once(registered,
                   [] { qAddPostRoutine([] { ThreadConnections::current().closeAll(); }); });
}

} // namespace

ThreadConnections::Connection::Connection() = default;
ThreadConnections::Connection::~Connection() = default;

ThreadConnections &ThreadConnections::current()
{
    thread_local ThreadConnections connections;
    return connections;
}

ThreadConnections::~ThreadConnections()
{
    closeAll();
}

void ThreadConnections::closeAll()
{
    for (auto &entry : m_connections) {
        // Statements first: a connection removed while queries still use it warns.
        entry.second.statements.clear();
        entry.second.writeStatements.clear();
        {
            QSqlDatabase database = QSqlDatabase::database(entry.second.qtName, false);
            database.close();
        }
        QSqlDatabase::removeDatabase(entry.second.qtName);
    }
    m_connections.clear();
    m_last = nullptr;
}

ThreadConnections::Connection *ThreadConnections::lookUp(const QString &connectionName,
                                                         const QString &filePath) const
{
    // Every statement looks its connection up several times, nearly always the same one.
    if (m_last && m_lastName == connectionName && m_lastPath == filePath)
        return m_last;
    const auto found = m_connections.find(key(connectionName, filePath));
    if (found == m_connections.end())
        return nullptr;
    m_last = const_cast<Connection *>(&found->second);
    m_lastName = connectionName;
    m_lastPath = filePath;
    return m_last;
}

QString ThreadConnections::find(const QString &connectionName, const QString &filePath) const
{
    const Connection *open = lookUp(connectionName, filePath);
    return open ? open->qtName : QString();
}

QString ThreadConnections::acquire(const QString &connectionName, const QString &filePath,
                                   QSqlError &error)
{
    if (const Connection *existing = lookUp(connectionName, filePath))
        return existing->qtName;
    sqlite3 *handle = nullptr;
    const QString qtName = open(filePath, handle, error);
    if (!qtName.isEmpty()) {
        Connection &opened = m_connections[key(connectionName, filePath)];
        opened.qtName = qtName;
        opened.handle = handle;
    }
    return qtName;
}

ThreadConnections::Connection *ThreadConnections::readyFor(const QString &connectionName,
                                                           const QString &filePath, bool writes,
                                                           QSqlError &error)
{
    Connection *open = connection(connectionName, filePath, error);
    if (!open)
        return nullptr;
    // Nothing after a failed statement runs in the same transaction: a lookup that failed
    // must not be followed by writes that assume "not found".
    if (open->transactionDepth > 0 && open->transactionDoomed) {
        error
            = QSqlError(QString(), QStringLiteral("an earlier statement of the transaction failed"),
                        QSqlError::TransactionError);
        return nullptr;
    }
    const bool begins = open->transactionDepth > 0 && !open->transactionBegun;
    if ((writes || begins) && !mayWrite(*open, filePath, error)) {
        statementFailed(*open);
        return nullptr;
    }
    if (begins) {
        if (!runTransactionStatement(*open, QStringLiteral("BEGIN IMMEDIATE"), error)) {
            open->transactionDoomed = true;
            return nullptr;
        }
        open->transactionBegun = true;
    }
    return open;
}

QSqlQuery *ThreadConnections::statement(const QString &connectionName, const QString &filePath,
                                        const QString &sql, bool writes, QSqlError &error)
{
    Connection *open = readyFor(connectionName, filePath, writes, error);
    if (!open)
        return nullptr;
    std::unique_ptr<QSqlQuery> &cached = open->statements[sql];
    if (!cached) {
        auto query = std::make_unique<QSqlQuery>(QSqlDatabase::database(open->qtName, false));
        query->setForwardOnly(true);
        // A prepare refused (for instance on a lock) must fail here: left unchecked it
        // shows up later as a misleading "Parameter count mismatch".
        if (!query->prepare(sql)) {
            error = query->lastError();
            open->statements.erase(sql);
            statementFailed(*open);
            return nullptr;
        }
        cached = std::move(query);
    }
    return cached.get();
}

WriteStatement *ThreadConnections::writeStatement(const QString &connectionName,
                                                  const QString &filePath, const QString &sql,
                                                  QSqlError &error)
{
    Connection *open = readyFor(connectionName, filePath, true, error);
    if (!open)
        return nullptr;
    WriteStatement *statement = cachedWrite(*open, sql, error);
    if (!statement)
        statementFailed(*open);
    return statement;
}

WriteStatement *ThreadConnections::cachedWrite(Connection &open, const QString &sql,
                                               QSqlError &error)
{
    const auto found = open.writeStatements.find(sql);
    if (found != open.writeStatements.end())
        return found->second.get();
    std::unique_ptr<WriteStatement> prepared = WriteStatement::prepare(open.handle, sql, error);
    WriteStatement *statement = prepared.get();
    if (statement)
        open.writeStatements.emplace(sql, std::move(prepared));
    return statement;
}

bool ThreadConnections::runTransactionStatement(Connection &open, const QString &sql,
                                                QSqlError &error)
{
    WriteStatement *statement = cachedWrite(open, sql, error);
    return statement && runStatement(*statement, error);
}

ThreadConnections::Connection *ThreadConnections::connection(const QString &connectionName,
                                                             const QString &filePath,
                                                             QSqlError &error)
{
    if (Connection *open = lookUp(connectionName, filePath))
        return open;
    error = QSqlError(QStringLiteral("database not open"), QString(), QSqlError::ConnectionError);
    return nullptr;
}

bool ThreadConnections::mayWrite(Connection &open, const QString &filePath, QSqlError &error)
{
    QString refusal;
    open.writerLockHeld = open.writerLockHeld || WriterLock::acquire(filePath, refusal);
    if (!open.writerLockHeld)
        error = QSqlError(QString(), refusal, QSqlError::StatementError);
    return open.writerLockHeld;
}

void ThreadConnections::statementFailed(Connection &open)
{
    if (open.transactionDepth > 0)
        open.transactionDoomed = true;
}

void ThreadConnections::statementFailed(const QString &connectionName, const QString &filePath)
{
    QSqlError error;
    if (Connection *open = connection(connectionName, filePath, error))
        statementFailed(*open);
}

bool ThreadConnections::beginTransaction(const QString &connectionName, const QString &filePath,
                                         QSqlError &error)
{
    Connection *open = connection(connectionName, filePath, error);
    if (!open)
        return false;
    if (open->transactionDepth == 0)
        open->transactionDoomed = false;
    ++open->transactionDepth;
    return true;
}

bool ThreadConnections::endTransaction(const QString &connectionName, const QString &filePath,
                                       bool commit, QSqlError &error)
{
    Connection *open = connection(connectionName, filePath, error);
    if (!open || open->transactionDepth == 0)
        return false;
    if (!commit)
        open->transactionDoomed = true;
    // A commit of a transaction a nested scope rolled back fails, and says why: the store
    // itself reported nothing.
    if (commit && open->transactionDoomed) {
        error = QSqlError(QString(), QStringLiteral("a nested scope rolled the transaction back"),
                          QSqlError::TransactionError);
    }
    if (--open->transactionDepth > 0)
        return !open->transactionDoomed || !commit;
    if (!open->transactionBegun) {
        const bool doomed = open->transactionDoomed;
        open->transactionDoomed = false;
        return !doomed || !commit;
    }
    open->transactionBegun = false;
    if (!open->transactionDoomed && runTransactionStatement(*open, QStringLiteral("COMMIT"), error))
        return true;
    // Never failed on demand: the tests fail what a unit runs, not its way out.
    QSqlError rollbackError;
    WriteStatement *rollback = cachedWrite(*open, QStringLiteral("ROLLBACK"), rollbackError);
    const bool rolledBack = rollback && rollback->exec(rollbackError);
    open->transactionDoomed = false;
    return !commit && rolledBack;
}

QString ThreadConnections::open(const QString &filePath, sqlite3 *&handle, QSqlError &error)
{
    const QString qtName = QStringLiteral("ZelDb#%1").arg(nextConnectionNumber++);
    OwnerOnlyFile::create(filePath);
    QString refusal;
    if (!OwnerOnlyFile::restrict(filePath, refusal)) {
        error = QSqlError(QString(), refusal, QSqlError::ConnectionError);
        return QString();
    }
    bool opened = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), qtName);
        closeBeforeQtDoes();
        database.setDatabaseName(filePath);
        // A writer waits for another thread's write instead of failing at once.
        database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!database.open()) {
            error = database.lastError();
        } else {
            // open() succeeds on a file that is not a database; the first statement does not.
            handle = handleOf(database);
            if (!handle) {
                error = QSqlError(QString(), QStringLiteral("no SQLite handle under the driver"),
                                  QSqlError::ConnectionError);
            }
            opened = handle
                && execute(database, QStringLiteral("SELECT count(*) FROM sqlite_master"), error)
                && execute(database, QStringLiteral("PRAGMA journal_mode=WAL"), error)
                && execute(database, QStringLiteral("PRAGMA synchronous=NORMAL"), error);
            if (!opened)
                database.close();
        }
    }
    if (opened)
        return qtName;
    QSqlDatabase::removeDatabase(qtName);
    return QString();
}

} // namespace zeldb
