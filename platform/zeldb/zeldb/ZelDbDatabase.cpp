#include <zeldb/ThreadConnections_p.h>
#include <zeldb/ZelDbDatabase.h>

#include <zellogger/ZelLogger.h>

#include <QElapsedTimer>

#include <map>
#include <mutex>

namespace zeldb {

namespace {

const QString LOGGER_NAME = QStringLiteral("ZELDB");

void logError(const QString &message)
{
    ZelLogger::getInstance()->log(message, ZelLogger::ERROR_LEVEL, LOGGER_NAME);
}

// A full disk or a broken file fails every statement, on every thread, for as long as it
// lasts. One line per burst says so: a failure is logged when SQLite's error is new or was
// last seen more than 10 s ago, and while it goes on once a minute with the number of
// failures since.
class FailureBursts
{
public:
    // Whether to log this failure now; then UNLOGGED tells how many of its kind were left
    // out since the last line.
    bool shouldLog(const QSqlError &error, int &unlogged)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_clock.isValid())
            m_clock.start();
        const qint64 now = m_clock.elapsed();
        Burst &burst = m_bursts[error.nativeErrorCode() + QLatin1Char(' ') + error.databaseText()];
        const bool log = burst.lastSeen < 0 || now - burst.lastSeen > QUIET_MS
            || now - burst.lastLogged > REMINDER_MS;
        burst.lastSeen = now;
        if (!log) {
            ++burst.unlogged;
            return false;
        }
        unlogged = burst.unlogged;
        burst.unlogged = 0;
        burst.lastLogged = now;
        return true;
    }

private:
    static const qint64 QUIET_MS = 10000;
    static const qint64 REMINDER_MS = 60000;

    struct Burst
    {
        qint64 lastSeen = -1;
        qint64 lastLogged = -1;
        int unlogged = 0;
    };

    std::mutex m_mutex;
    QElapsedTimer m_clock;
    std::map<QString, Burst> m_bursts;
};

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
{ }

ZelDbDatabase::~ZelDbDatabase() = default;

bool ZelDbDatabase::CreateConnection(const QString &name)
{
    m_connectionName = name;
    return !name.isEmpty();
}

bool ZelDbDatabase::Open()
{
    QSqlError error;
    m_open = !ThreadConnections::current().acquire(m_connectionName, filePath, error).isEmpty();
    // Each failed open is logged: it is one per operation, not one per statement.
    if (!m_open) {
        m_lastError = error;
        logError(QStringLiteral("ZelDbDatabase - Open %1 failed: %2").arg(filePath, error.text()));
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

QSqlQuery *ZelDbDatabase::Statement(const QString &sql, QSqlError &error) const
{
    if (!m_open) {
        error
            = QSqlError(QStringLiteral("database not open"), QString(), QSqlError::ConnectionError);
        return nullptr;
    }
    return ThreadConnections::current().statement(m_connectionName, filePath, sql, error);
}

QSqlError ZelDbDatabase::lastError() const
{
    return m_lastError;
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
           &WarrantyUsersDataRecord::schema(), &WarrantyRegistrationsRecord::schema() })
        statements << schema->createStatement() << schema->indexStatements();
    statements << QStringLiteral("PRAGMA user_version = %1").arg(SCHEMA_VERSION);
    return statements;
}

void ZelDbDatabase::reportError(const QString &what, const QSqlError &error)
{
    m_lastError = error;
    static FailureBursts bursts;
    int unlogged = 0;
    if (!bursts.shouldLog(error, unlogged))
        return;
    QString message = QStringLiteral("ZelDbDatabase - %1 failed: %2").arg(what, error.text());
    if (unlogged > 0)
        message += QStringLiteral(" (%1 more since the last line)").arg(unlogged);
    logError(message);
}

void ZelDbDatabase::CloseThreadConnections()
{
    ThreadConnections::current().closeAll();
}

} // namespace zeldb
