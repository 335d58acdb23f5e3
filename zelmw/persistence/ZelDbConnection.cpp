#include <zelmw/persistence/ZelDbConnection.h>

#include <zelmw/vocabulary/ZelConstants.h>

#include <zeldb/SchemaMigrations_p.h>
#include <zeldb/ZelDb.h>
#include <zellogger/ZelLogger.h>

#include <QDateTime>
#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <boost/make_shared.hpp>

#include <mutex>

#include <unistd.h>

namespace zelmw {

const QString ZelDbConnection::DB_NAME = QStringLiteral("ZelDb.db");
const QString ZelDbConnection::CONN_NAME = QStringLiteral("ZelDbConnection");

namespace {

// The directory a host chose before the path was fixed; empty for the data location.
std::mutex dataDirectoryMutex;
QString chosenDataDirectory;
bool pathFixed = false;

const QFileDevice::Permissions OWNER_BITS
    = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
const char *const COMPANIONS[] = { "-wal", "-shm" };

void logError(const QString &message)
{
    ZelLogger::getInstance()->log(message, ZelLogger::ERROR_LEVEL, LOGGER_NAME);
}

// Whether SQLite says the file's content is damaged (SQLITE_CORRUPT or SQLITE_NOTADB), as
// opposed to out of reach for the moment (locked, read-only, I/O).
bool isDamage(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 11 || code == 26;
}

// Runs SQLite's full integrity check (a few milliseconds for a home's store, 150 ms at
// 20 MB) on its own short-lived connection. A file that stays locked for a second is in use
// and so not judged.
bool isCorrupt(const QString &path)
{
    const QString name = QStringLiteral("ZelDbConnection-check");
    bool corrupt = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        database.setDatabaseName(path);
        database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
        if (database.open()) {
            QSqlQuery query(database);
            if (query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next())
                corrupt = query.value(0).toString() != QLatin1String("ok");
            else
                corrupt = isDamage(query.lastError());
        }
        database.close();
    }
    QSqlDatabase::removeDatabase(name);
    return corrupt;
}

// Moves a damaged file aside, never deleting it (it may hold what the user wants back), so that a
// fresh store is created instead of every operation failing for ever. The companions move first and
// keep their suffix after the new name: a fresh file must never meet an old write-ahead log.
// Another user's file is left alone: the store refuses to open it.
void moveAsideWhenDamaged(const QString &path)
{
    if (!isCorrupt(path))
        return;
    const QString aside = path + QLatin1String(".corrupt-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    bool moved = true;
    for (const char *suffix : COMPANIONS) {
        const QString companion = path + QLatin1String(suffix);
        moved = moved
            && (!QFileInfo::exists(companion)
                || QFile::rename(companion, aside + QLatin1String(suffix)));
    }
    if (moved && QFile::rename(path, aside))
        logError(QStringLiteral("ZelDbConnection::open - the database file was damaged; "
                                "moved it to %1 and started a new one")
                     .arg(aside));
    else
        logError(QStringLiteral("ZelDbConnection::open - the database file %1 is damaged "
                                "and cannot be moved aside")
                     .arg(path));
}

// Before the store first uses the file in this process: refuses a file of a later release (left
// untouched and never judged damaged: its schema is simply unknown here), moves a damaged file
// aside, and migrates one of an earlier release. True once the file is ready, and for a file
// it cannot read (the store's open then says why); a migration that failed (a full disk, a
// lock held too long) is tried again at the next open. A new file is the store's to create,
// and another user's file is left to the store, which refuses it.
bool storeFileReady(const QString &path)
{
    static std::mutex mutex;
    static bool ready = false;
    static bool checked = false;
    static bool refused = false;
    const std::lock_guard<std::mutex> lock(mutex);
    if (ready || refused)
        return ready;
    const QFileInfo file(path);
    if (!file.exists() || file.size() == 0 || file.ownerId() != geteuid())
        return true;
    QString message;
    if (!checked) {
        checked = true;
        const int version = zeldb::SchemaMigrations::storedVersion(path, message);
        if (version > zeldb::ZelDbDatabase::SCHEMA_VERSION) {
            refused = true;
            logError(QStringLiteral("ZelDbConnection::open - %1 is of a later release (store "
                                    "version %2, this release knows up to %3); left untouched")
                         .arg(path)
                         .arg(version)
                         .arg(zeldb::ZelDbDatabase::SCHEMA_VERSION));
            return false;
        }
        moveAsideWhenDamaged(path);
        if (!QFileInfo::exists(path))
            return true;
    }
    switch (zeldb::SchemaMigrations::upgrade(path, message)) {
    case zeldb::SchemaMigrations::Outcome::Current:
        ready = true;
        break;
    case zeldb::SchemaMigrations::Outcome::Migrated:
        ready = true;
        ZelLogger::getInstance()->log(
            QStringLiteral("ZelDbConnection::open - migrated %1 to store version %2")
                .arg(path)
                .arg(zeldb::ZelDbDatabase::SCHEMA_VERSION),
            ZelLogger::INFO_LEVEL, LOGGER_NAME);
        break;
    case zeldb::SchemaMigrations::Outcome::Newer:
        refused = true;
        logError(QStringLiteral("ZelDbConnection::open - %1 became a later release's store; "
                                "left untouched")
                     .arg(path));
        break;
    case zeldb::SchemaMigrations::Outcome::Unreadable:
        // The store's own open says why, as for any file it cannot read.
        return true;
    case zeldb::SchemaMigrations::Outcome::Failed:
        logError(QStringLiteral("ZelDbConnection::open - cannot migrate %1 to store version "
                                "%2: %3")
                     .arg(path)
                     .arg(zeldb::ZelDbDatabase::SCHEMA_VERSION)
                     .arg(message));
        break;
    }
    return ready;
}

} // namespace

// Fixes the database path once per process.
class ZelDbConnection::Initializer
{
public:
    explicit Initializer(const QString &fileName)
        : m_fileName(fileName)
    { }

    void initPath()
    {
        const std::lock_guard<std::mutex> lock(dataDirectoryMutex);
        pathFixed = true;
        const QString directory = chosenDataDirectory.isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
            : chosenDataDirectory;
        m_path = QDir::toNativeSeparators(directory + QLatin1Char('/') + m_fileName);
    }

    // A directory we create is the owner's alone, like the file in it.
    void createDirectory() const
    {
        const QString directory = QFileInfo(m_path).absoluteDir().absolutePath();
        if (!QDir(directory).exists() && QDir().mkpath(directory))
            QFile::setPermissions(directory, OWNER_BITS);
    }

    const QString &getPath() const { return m_path; }

    // The one instance, created by the first connection object even when two threads
    // construct their first ones together.
    static const Initializer &instance()
    {
        static const Initializer initializer = [] {
            Initializer created(DB_NAME);
            created.initPath();
            created.createDirectory();
            return created;
        }();
        return initializer;
    }

private:
    QString m_fileName;
    QString m_path;
};

bool ZelDbConnection::setDataDirectory(const QString &directory)
{
    const std::lock_guard<std::mutex> lock(dataDirectoryMutex);
    if (pathFixed || directory.isEmpty())
        return false;
    chosenDataDirectory = directory;
    return true;
}

ZelDbConnection::ZelDbConnection()
    : m_database(boost::make_shared<zeldb::ZelDbDatabase>())
{
    m_database->filePath = Initializer::instance().getPath();
    m_database->CreateConnection(CONN_NAME);
}

ZelDbConnection::ZelDbConnection(const ZelDbConnection &other) = default;
ZelDbConnection &ZelDbConnection::operator=(const ZelDbConnection &other) = default;
ZelDbConnection::~ZelDbConnection() = default;

QString ZelDbConnection::getDbPath() const
{
    return Initializer::instance().getPath();
}

QFileInfo ZelDbConnection::getDbFileInfo() const
{
    return QFileInfo(getDbPath());
}

QString ZelDbConnection::getAbsoluteDir() const
{
    return getDbFileInfo().absoluteDir().absolutePath();
}

QSqlDatabase ZelDbConnection::getSqlDatabase() const
{
    return m_database->Database();
}

QSqlError ZelDbConnection::getLastSqlError() const
{
    return m_database->lastError();
}

QString ZelDbConnection::getConnectionName() const
{
    return getSqlDatabase().connectionName();
}

bool ZelDbConnection::open()
{
    // A thread that holds its connection has seen the file already. An empty file is what a
    // failed first open leaves behind: it needs the tables too.
    bool isNew = false;
    if (!m_database->HoldsThreadConnection()) {
        if (!storeFileReady(getDbPath()))
            return false;
        const QFileInfo file = getDbFileInfo();
        isNew = !file.exists() || file.size() == 0;
    }
    const bool opened = m_database->Open();
    if (opened && isNew)
        createTables();
    return opened;
}

bool ZelDbConnection::close()
{
    if (m_database->IsOpen())
        m_database->Close();
    return !m_database->IsOpen();
}

bool ZelDbConnection::isOpen()
{
    return m_database->IsOpen();
}

bool ZelDbConnection::beginTransaction()
{
    return m_database->BeginTransaction();
}

bool ZelDbConnection::commitTransaction()
{
    return m_database->CommitTransaction();
}

bool ZelDbConnection::rollbackTransaction()
{
    return m_database->RollbackTransaction();
}

bool ZelDbConnection::claimWriter()
{
    return m_database->ClaimWriter();
}

void ZelDbConnection::clearTables()
{
    getConfigurationPairsTable()->ClearTable();
    getMapObjectsTable()->ClearTable();
    getMapObjectParametersTable()->ClearTable();
    getNetworkMapObjectsTable()->ClearTable();
    getNetworkMapObjectDetailsTable()->ClearTable();
    getNetworkMapsTable()->ClearTable();
    getWarrantyUsersDataTable()->ClearTable();
    getWarrantyRegistrationsTable()->ClearTable();
    getDeletedDevicesTable()->ClearTable();
    getDeviceSessionsTable()->ClearTable();
    getMacAliasesTable()->ClearTable();
}

int ZelDbConnection::removeUnreachableRows()
{
    static const char *const unreachable[] = {
        ("DELETE FROM NetworkMapObjectDetails WHERE NetworkMapObjectId NOT IN "
         "(SELECT Id FROM NetworkMapObjects)"),
        "DELETE FROM DeletedDevices WHERE NetworkMapId NOT IN (SELECT Id FROM NetworkMaps)",
        "DELETE FROM DeviceSessions WHERE NetworkMapId NOT IN (SELECT Id FROM NetworkMaps)",
        "DELETE FROM MacAliases WHERE NetworkMapId NOT IN (SELECT Id FROM NetworkMaps)",
    };
    if (!isOpen() || !claimWriter())
        return -1;
    QSqlQuery query(getSqlDatabase());
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return -1;
    int removed = 0;
    for (const char *statement : unreachable) {
        if (!query.exec(QLatin1String(statement))) {
            logError(QStringLiteral("ZelDbConnection::removeUnreachableRows failed: ")
                     + query.lastError().text());
            query.exec(QStringLiteral("ROLLBACK"));
            return -1;
        }
        removed += query.numRowsAffected();
    }
    if (query.exec(QStringLiteral("COMMIT")))
        return removed;
    query.exec(QStringLiteral("ROLLBACK"));
    return -1;
}

bool ZelDbConnection::compact()
{
    QSqlQuery query(getSqlDatabase());
    return isOpen() && claimWriter() && query.exec(QStringLiteral("VACUUM"));
}

void ZelDbConnection::createTables()
{
    // Every statement is idempotent, so two threads creating the tables at once is harmless;
    // a failure shows up in the first operation that needs the table.
    QSqlQuery query(getSqlDatabase());
    for (const QString &statement : zeldb::ZelDbDatabase::schemaStatements())
        query.exec(statement);
}

zeldb::ConfigurationPairsTable *ZelDbConnection::getConfigurationPairsTable()
{
    return m_database->GetConfigurationPairsTable();
}

zeldb::MapObjectsTable *ZelDbConnection::getMapObjectsTable()
{
    return m_database->GetMapObjectsTable();
}

zeldb::MapObjectParametersTable *ZelDbConnection::getMapObjectParametersTable()
{
    return m_database->GetMapObjectParametersTable();
}

zeldb::NetworkMapObjectsTable *ZelDbConnection::getNetworkMapObjectsTable()
{
    return m_database->GetNetworkMapObjectsTable();
}

zeldb::NetworkMapObjectDetailsTable *ZelDbConnection::getNetworkMapObjectDetailsTable()
{
    return m_database->GetNetworkMapObjectDetailsTable();
}

zeldb::NetworkMapsTable *ZelDbConnection::getNetworkMapsTable()
{
    return m_database->GetNetworkMapsTable();
}

zeldb::WarrantyUsersDataTable *ZelDbConnection::getWarrantyUsersDataTable()
{
    return m_database->GetWarrantyUsersDataTable();
}

zeldb::WarrantyRegistrationsTable *ZelDbConnection::getWarrantyRegistrationsTable()
{
    return m_database->GetWarrantyRegistrationsTable();
}

zeldb::DeletedDevicesTable *ZelDbConnection::getDeletedDevicesTable()
{
    return m_database->GetDeletedDevicesTable();
}

zeldb::DeviceSessionsTable *ZelDbConnection::getDeviceSessionsTable()
{
    return m_database->GetDeviceSessionsTable();
}

zeldb::MacAliasesTable *ZelDbConnection::getMacAliasesTable()
{
    return m_database->GetMacAliasesTable();
}

} // namespace zelmw
