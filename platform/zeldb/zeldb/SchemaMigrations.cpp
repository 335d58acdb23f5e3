#include <zeldb/SchemaMigrations_p.h>
#include <zeldb/ZelDbDatabase.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVector>

#include <atomic>

namespace zeldb {

namespace {

// The statements that take a file from version N (the index) to N + 1. Written once and never
// changed: a file of any earlier release must come out the same as one created new, which the
// migration test compares.
const QStringList &step(int from)
{
    static const QVector<QStringList> steps = {
        {}, // 0: a new file, created whole by the store
        {
            // Deleting a device used to leave its details behind, where nothing reads them.
            QStringLiteral("DELETE FROM NetworkMapObjectDetails WHERE NetworkMapObjectId NOT IN "
                           "(SELECT Id FROM NetworkMapObjects)"),
            // What users gave devices that left, for their return.
            QStringLiteral("CREATE TABLE IF NOT EXISTS DeletedDevices (Id INTEGER PRIMARY KEY "
                           "AUTOINCREMENT, NetworkMapId INTEGER NOT NULL DEFAULT 0, MacAddress "
                           "TEXT NOT NULL DEFAULT '', Details TEXT NOT NULL DEFAULT '', "
                           "CreateDate TEXT)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS DeletedDevices_NetworkMapId ON "
                           "DeletedDevices (NetworkMapId)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS DeletedDevices_MacAddress ON "
                           "DeletedDevices (MacAddress)"),
            // When each device was connected.
            QStringLiteral("CREATE TABLE IF NOT EXISTS DeviceSessions (Id INTEGER PRIMARY KEY "
                           "AUTOINCREMENT, NetworkMapId INTEGER NOT NULL DEFAULT 0, MacAddress "
                           "TEXT NOT NULL DEFAULT '', ConnectedFrom TEXT, ConnectedTo TEXT, "
                           "IsOpen INTEGER NOT NULL DEFAULT 0)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS DeviceSessions_MacAddress ON "
                           "DeviceSessions (MacAddress)"),
            // The addresses of devices merged into others.
            QStringLiteral("CREATE TABLE IF NOT EXISTS MacAliases (Id INTEGER PRIMARY KEY "
                           "AUTOINCREMENT, NetworkMapId INTEGER NOT NULL DEFAULT 0, MacAddress "
                           "TEXT NOT NULL DEFAULT '', NetworkMapObjectId INTEGER NOT NULL DEFAULT "
                           "0, CreateDate TEXT)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS MacAliases_NetworkMapId ON MacAliases "
                           "(NetworkMapId)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS MacAliases_MacAddress ON MacAliases "
                           "(MacAddress)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS MacAliases_NetworkMapObjectId ON "
                           "MacAliases (NetworkMapObjectId)"),
        },
        {
            // Every disconnect drops the sessions past their retention: without it, a scan of
            // every session of every device.
            QStringLiteral("CREATE INDEX IF NOT EXISTS DeviceSessions_ConnectedTo ON "
                           "DeviceSessions (ConnectedTo)"),
        },
    };
    return steps.at(from);
}

// A connection of its own, closed and removed when the scope ends.
class OwnConnection
{
public:
    OwnConnection(const QString &path, bool readOnly)
        : m_name(QStringLiteral("ZelDb-migration#%1").arg(++counter))
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        database.setDatabaseName(path);
        database.setConnectOptions(
            readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000")
                     : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        database.open();
    }
    ~OwnConnection() { QSqlDatabase::removeDatabase(m_name); }
    OwnConnection(const OwnConnection &) = delete;
    OwnConnection &operator=(const OwnConnection &) = delete;

    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

private:
    static std::atomic<int> counter;
    QString m_name;
};

std::atomic<int> OwnConnection::counter { 0 };

// The stored version read on DATABASE: 0 for a file without tables, -1 on a failure.
int versionOf(const QSqlDatabase &database, QString &message)
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next()) {
        message = query.lastError().text();
        return -1;
    }
    if (query.value(0).toInt() == 0)
        return 0;
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        message = query.lastError().text();
        return -1;
    }
    return query.value(0).toInt();
}

// Runs the step from FROM in one transaction, unless another process got there first.
bool runStep(QSqlDatabase &database, int from, QString &message)
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        message = query.lastError().text();
        return false;
    }
    const int found = versionOf(database, message);
    bool done = found >= 0;
    if (found == from) {
        for (const QString &statement : step(from)
                 + QStringList { QStringLiteral("PRAGMA user_version = %1").arg(from + 1) }) {
            if (!query.exec(statement)) {
                message = query.lastError().text();
                done = false;
                break;
            }
        }
    }
    if (done && query.exec(QStringLiteral("COMMIT")))
        return true;
    if (done)
        message = query.lastError().text();
    query.exec(QStringLiteral("ROLLBACK"));
    return false;
}

} // namespace

int SchemaMigrations::storedVersion(const QString &path, QString &message)
{
    const OwnConnection connection(path, true);
    const QSqlDatabase database = connection.database();
    if (!database.isOpen()) {
        message = database.lastError().text();
        return -1;
    }
    return versionOf(database, message);
}

SchemaMigrations::Outcome SchemaMigrations::upgrade(const QString &path, QString &message)
{
    int version = storedVersion(path, message);
    if (version < 0)
        return Outcome::Unreadable;
    if (version > ZelDbDatabase::SCHEMA_VERSION)
        return Outcome::Newer;
    if (version == 0 || version == ZelDbDatabase::SCHEMA_VERSION)
        return Outcome::Current;
    const OwnConnection connection(path, false);
    QSqlDatabase database = connection.database();
    if (!database.isOpen()) {
        message = database.lastError().text();
        return Outcome::Failed;
    }
    for (; version < ZelDbDatabase::SCHEMA_VERSION; ++version) {
        if (!runStep(database, version, message))
            return Outcome::Failed;
    }
    return Outcome::Migrated;
}

} // namespace zeldb
