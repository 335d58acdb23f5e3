#ifndef ZELDB_THREADCONNECTIONS_P_H
#define ZELDB_THREADCONNECTIONS_P_H

#include <QDateTime>
#include <QHash>
#include <QPair>
#include <QSqlError>
#include <QString>

#include <map>
#include <memory>
#include <unordered_map>

class QSqlQuery;
struct sqlite3;

namespace zeldb {

class TableSchema;
class WriteStatement;

// The physical connections of the calling thread, one per (connection name, file), with their
// prepared statements. A QSqlDatabase may only be used on the thread that created it, and
// reopening one costs a schema re-read per statement (and, in WAL mode, a checkpoint with
// fsync on every last close), so each thread keeps its own open for as long as the thread
// lives and closes and removes them when it ends. Compiling a statement costs about as much
// as running it, so each connection keeps the statements it prepared.
class ThreadConnections
{
public:
    static ThreadConnections &current();

    // The Qt connection name of the open connection to FILEPATH, opening it first when
    // needed; empty on failure, with the reason in ERROR.
    QString acquire(const QString &connectionName, const QString &filePath, QSqlError &error);
    // The Qt connection name of an open connection, or empty.
    QString find(const QString &connectionName, const QString &filePath) const;
    // SQL prepared on the open connection, kept for reuse; null when there is no such
    // connection or the statement cannot be prepared, with the reason in ERROR. A statement
    // that WRITES, and the BEGIN IMMEDIATE of a write transaction, first need this process to
    // hold the file's writer lock: refused, it fails as a failed statement does.
    QSqlQuery *statement(const QString &connectionName, const QString &filePath, const QString &sql,
                         bool writes, QSqlError &error);
    // The same for an insert, update or delete by id, run on SQLite's handle directly.
    WriteStatement *writeStatement(const QString &connectionName, const QString &filePath,
                                   const QString &sql, QSqlError &error);

    // The calling thread's transaction on the open connection to FILEPATH, counted: the
    // outermost begin opens it, nested ones only count. SQLite sees it (BEGIN IMMEDIATE, so
    // that a read followed by a write never fails on another connection's write) only before
    // the first statement, so a scope that runs none costs nothing. Ending a nested scope with a
    // rollback dooms the whole transaction, which the outermost end then rolls back. False,
    // with the reason in ERROR, when there is no connection or a statement fails; a failed
    // commit is rolled back.
    bool beginTransaction(const QString &connectionName, const QString &filePath, QSqlError &error);
    // A statement of the transaction failed: the whole transaction fails, and no later
    // statement of it runs. Outside a transaction nothing is remembered.
    void statementFailed(const QString &connectionName, const QString &filePath);
    bool endTransaction(const QString &connectionName, const QString &filePath, bool commit,
                        QSqlError &error);

    // Closes and removes every connection of the calling thread now. A QThread's wait()
    // returns before the thread's own destructors run, so a thread that may outlive its
    // waiter (one stopped while the process exits) calls this last, while Qt's SQL
    // module is sure to be there.
    void closeAll();

    // What the thread's statements reuse, kept with its connections: the text of each insert
    // by table and fields set, and the last time stamp made, formatted and parsed. The rows of
    // one change carry one stamp and are written and read one after another, and making,
    // formatting or parsing a local time asks the C library for the time zone each time.
    struct Texts
    {
        QHash<QPair<const TableSchema *, quint64>, QString> insertStatements;
        QHash<QPair<const TableSchema *, quint64>, QString> updateStatements;
        qint64 stampMSecs = -1;
        QDateTime stamp;
        QDate formattedDate;
        QTime formattedTime;
        QString formattedText;
        QString parsedText;
        QDateTime parsedValue;
    };
    Texts &texts() { return m_texts; }

    ~ThreadConnections();

private:
    ThreadConnections() = default;
    QString open(const QString &filePath, sqlite3 *&handle, QSqlError &error);

    struct Connection
    {
        Connection();
        ~Connection();
        QString qtName;
        sqlite3 *handle = nullptr;
        std::map<QString, std::unique_ptr<QSqlQuery>> statements;
        // Hashed: the key is a whole statement, and a record runs twenty of them.
        std::unordered_map<QString, std::unique_ptr<WriteStatement>> writeStatements;
        int transactionDepth = 0;
        bool transactionBegun = false;
        bool transactionDoomed = false;
        // Once this process holds the writer lock it keeps it: no need to ask again.
        bool writerLockHeld = false;
    };

    Connection *connection(const QString &connectionName, const QString &filePath,
                           QSqlError &error);
    // The open connection, ready for a statement: its transaction not doomed, begun in
    // SQLite when this is its first statement, and the writer lock held when WRITES.
    Connection *readyFor(const QString &connectionName, const QString &filePath, bool writes,
                         QSqlError &error);
    // SQL of OPEN's, prepared on its handle once; null, with the reason in ERROR.
    static WriteStatement *cachedWrite(Connection &open, const QString &sql, QSqlError &error);
    // BEGIN, COMMIT or ROLLBACK of OPEN's transaction.
    static bool runTransactionStatement(Connection &open, const QString &sql, QSqlError &error);
    static void statementFailed(Connection &open);
    // The open connection to FILEPATH, or null.
    Connection *lookUp(const QString &connectionName, const QString &filePath) const;
    static bool mayWrite(Connection &open, const QString &filePath, QSqlError &error);

    std::map<QString, Connection> m_connections;
    // The connection looked up last, with its name and file.
    mutable Connection *m_last = nullptr;
    mutable QString m_lastName;
    mutable QString m_lastPath;
    Texts m_texts;
};

} // namespace zeldb

#endif // ZELDB_THREADCONNECTIONS_P_H
