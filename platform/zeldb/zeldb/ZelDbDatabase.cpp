#include <zeldb/ThreadConnections_p.h>
#include <zeldb/WriterLock_p.h>
#include <zeldb/ZelDbDatabase_p.h>

#include <zellogger/BurstLog_p.h>
#include <zellogger/ZelLogger.h>

namespace zeldb {

namespace {

const QString LOGGER_NAME = QStringLiteral("ZELDB");

// A full disk or a broken file fails every statement and every open, on every thread, for as
// long as it lasts: one line per burst of failures of a KIND says so.
void logFailure(const QString &message, const QString &kind)
{
    BurstLog::log(message, kind, ZelLogger::ERROR_LEVEL, LOGGER_NAME);
}

QSqlError notOpen()
{
    return QSqlError(QStringLiteral("database not open"), QString(), QSqlError::ConnectionError);
}

} // namespace

ZelDbDatabase::ZelDbDatabase()
    : m_configurationPairs(*this)
    , m_mapObjects(*this)
    , m_mapObjectParameters(*this)
    , m_networkMapObjects(*this)
    , m_networkMapObjectDetails(*this)
    , m_networkMaps(*this)
    , m_warrantyUsersData(*this)
    , m_warrantyRegistrations(*this)
    , m_deletedDevices(*this)
    , m_deviceSessions(*this)
    , m_macAliases(*this)
{ }

ZelDbDatabase::~ZelDbDatabase() = default;

bool ZelDbDatabase::CreateConnection(const QString &name)
{
    m_connectionName = name;
    return !name.isEmpty();
}

bool ZelDbDatabase::Open()
{
    // Nearly always the thread holds its connection already, and no error needs room.
    if (HoldsThreadConnection()) {
        m_open = true;
        return true;
    }
    QSqlError error;
    m_open = !ThreadConnections::current().acquire(m_connectionName, filePath, error).isEmpty();
    if (!m_open) {
        m_lastError = error;
        logFailure(QStringLiteral("ZelDbDatabase - Open %1 failed: %2").arg(filePath, error.text()),
                   filePath + error.text());
    }
    return m_open;
}

bool ZelDbDatabase::IsOpen() const
{
    return m_open;
}

bool ZelDbDatabase::HoldsThreadConnection() const
{
    return !ThreadConnections::current().find(m_connectionName, filePath).isEmpty();
}

bool ZelDbDatabase::Close()
{
    m_open = false;
    return true;
}

QSqlDatabase ZelDbDatabase::Database() const
{
    if (!m_open)
        return QSqlDatabase();
    const QString qtName = ThreadConnections::current().find(m_connectionName, filePath);
    return qtName.isEmpty() ? QSqlDatabase() : QSqlDatabase::database(qtName, false);
}

QSqlQuery *ZelDbDatabase::Statement(const QString &sql, bool writes, QSqlError &error) const
{
    if (!m_open) {
        error = notOpen();
        return nullptr;
    }
    return ThreadConnections::current().statement(m_connectionName, filePath, sql, writes, error);
}

WriteStatement *ZelDbDatabase::Statements::writeStatement(const ZelDbDatabase &database,
                                                          const QString &sql, QSqlError &error)
{
    if (!database.m_open) {
        error = notOpen();
        return nullptr;
    }
    return ThreadConnections::current().writeStatement(database.m_connectionName, database.filePath,
                                                       sql, error);
}

QSqlError ZelDbDatabase::lastError() const
{
    return m_lastError ? *m_lastError : QSqlError();
}

bool ZelDbDatabase::BeginTransaction()
{
    QSqlError error;
    if (m_open && ThreadConnections::current().beginTransaction(m_connectionName, filePath, error))
        return true;
    reportError(QStringLiteral("begin transaction"), error);
    return false;
}

bool ZelDbDatabase::CommitTransaction()
{
    return EndTransaction(true);
}

bool ZelDbDatabase::RollbackTransaction()
{
    return EndTransaction(false);
}

bool ZelDbDatabase::EndTransaction(bool commit)
{
    QSqlError error;
    if (m_open
        && ThreadConnections::current().endTransaction(m_connectionName, filePath, commit, error))
        return true;
    reportError(commit ? QStringLiteral("commit") : QStringLiteral("rollback"), error);
    return false;
}

QStringList ZelDbDatabase::schemaStatements()
{
    QStringList statements;
    for (const TableSchema *schema :
         { &ConfigurationPairsRecord::schema(), &MapObjectsRecord::schema(),
           &MapObjectParametersRecord::schema(), &NetworkMapObjectsRecord::schema(),
           &NetworkMapObjectDetailsRecord::schema(), &NetworkMapsRecord::schema(),
           &WarrantyUsersDataRecord::schema(), &WarrantyRegistrationsRecord::schema(),
           &DeletedDevicesRecord::schema(), &DeviceSessionsRecord::schema(),
           &MacAliasesRecord::schema() })
        statements << schema->createStatement() << schema->indexStatements();
    statements << QStringLiteral("PRAGMA user_version = %1").arg(SCHEMA_VERSION);
    return statements;
}

bool ZelDbDatabase::ClaimWriter()
{
    QString refusal;
    if (WriterLock::acquire(filePath, refusal))
        return true;
    m_lastError = QSqlError(QString(), refusal, QSqlError::StatementError);
    return false;
}

void ZelDbDatabase::reportError(const QString &what, const QSqlError &error)
{
    m_lastError = error;
    ThreadConnections::current().statementFailed(m_connectionName, filePath);
    // A transaction error of our own (no SQLite code) follows a failure logged already.
    if (error.type() == QSqlError::TransactionError && error.nativeErrorCode().isEmpty())
        return;
    // Any statement: a full disk fails inserts, updates and commits alike.
    logFailure(QStringLiteral("ZelDbDatabase - %1 failed: %2").arg(what, error.text()),
               error.nativeErrorCode() + QLatin1Char(' ') + error.databaseText());
}

void ZelDbDatabase::CloseThreadConnections()
{
    ThreadConnections::current().closeAll();
}

} // namespace zeldb
