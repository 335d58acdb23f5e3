#include <zelmw/persistence/ZelDbConnection.h>

#include <zeldb/ZelDb.h>

#include <QDir>
#include <QSqlQuery>
#include <QStandardPaths>

#include <mutex>

namespace zelmw {

const QString ZelDbConnection::DB_NAME = QStringLiteral("ZelDb.db");
const QString ZelDbConnection::CONN_NAME = QStringLiteral("ZelDbConnection");

namespace {

// The directory a host chose before the path was fixed; empty for the data location.
std::mutex dataDirectoryMutex;
QString chosenDataDirectory;
bool pathFixed = false;

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

    void createDirectory() const
    {
        const QString directory = QFileInfo(m_path).absoluteDir().absolutePath();
        if (!QDir(directory).exists())
            QDir().mkpath(directory);
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
    : m_database(new zeldb::ZelDbDatabase)
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

} // namespace zelmw
