#ifndef ZELDB_ZELDBDATABASE_H
#define ZELDB_ZELDBDATABASE_H

#include <zeldb/ConfigurationPairsTable.h>
#include <zeldb/DeletedDevicesTable.h>
#include <zeldb/DeviceSessionsTable.h>
#include <zeldb/MacAliasesTable.h>
#include <zeldb/MapObjectParametersTable.h>
#include <zeldb/MapObjectsTable.h>
#include <zeldb/NetworkMapObjectDetailsTable.h>
#include <zeldb/NetworkMapObjectsTable.h>
#include <zeldb/NetworkMapsTable.h>
#include <zeldb/WarrantyRegistrationsTable.h>
#include <zeldb/WarrantyUsersDataTable.h>
#include <zeldb/zeldb_export.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

#include <optional>

namespace zeldb {

/// One user of the database file at filePath. Any number of these may be open at once, on
/// one thread or on several: each thread shares one physical SQLite connection per connection
/// name and file, opened by the first Open on that thread and kept until the thread ends,
/// while Open, Close and IsOpen are this object's own state. An object is used on the thread
/// that opened it. Not copyable.
class ZELDB_EXPORT ZelDbDatabase
{
public:
    /// Stored in the file as PRAGMA user_version. A file of an earlier version is migrated at
    /// the first open of a process; one of a later release is refused.
    static const int SCHEMA_VERSION = 3;

    /// A closed database with neither file nor connection name, its tables made.
    ZelDbDatabase();
    /// Leaves the thread's connection open for the next object (see CloseThreadConnections()).
    ~ZelDbDatabase();
    ///@{
    /// @brief Not copyable: the tables given out belong to this object.
    ZelDbDatabase(const ZelDbDatabase &) = delete;
    ZelDbDatabase &operator=(const ZelDbDatabase &) = delete;
    ///@}

    /// The database file; set before Open, and not changed while this object is open: every
    /// call finds the thread's connection by it.
    QString filePath;

    /// Names the connection; every object may pass the same name. False for an empty name.
    bool CreateConnection(const QString &name);

    /// Creates the file (owner-only) when there is none, and narrows an existing one and its
    /// -wal and -shm files to their owner. Fails, logging the SQL error once per burst of such
    /// failures, when the file cannot be opened, is not a database or belongs to another
    /// user; lastError() says why. True at once when the thread holds its connection already.
    bool Open();
    /// Whether this object is open: Open succeeded and Close was not called since.
    bool IsOpen() const;
    /// Marks this object closed; the thread's connection stays open. Always true.
    bool Close();
    /// Whether the calling thread already holds its connection to the file, so that an Open
    /// needs no file system access.
    bool HoldsThreadConnection() const;

    /// The calling thread's connection while this object is open; invalid otherwise.
    QSqlDatabase Database() const;
    /// The last failure of this object (of Open, ClaimWriter, a transaction or a statement of
    /// its tables), kept until the next one; an error of type NoError when there was none.
    QSqlError lastError() const;

    ///@{
    /// @brief A transaction on the calling thread's connection, shared by every object open on
    /// that thread and counted per thread: the outermost Begin starts it and the outermost
    /// Commit ends it; nested ones only count.
    ///
    /// SQLite sees BEGIN IMMEDIATE with its first statement, so a scope that runs none costs
    /// nothing; that statement needs this process to be the file's writer (see ClaimWriter()),
    /// even for a read. A Rollback at any depth makes the whole transaction roll back when its
    /// outermost scope ends. A failed commit is rolled back and logged. Each answers false when
    /// this object is not open, no transaction is open (Commit, Rollback) or SQLite refused; a
    /// Commit also when the transaction failed. Any statement that fails inside a transaction
    /// makes the whole transaction fail: no later statement of it runs, and its commit rolls
    /// back.
    bool BeginTransaction();
    bool CommitTransaction();
    bool RollbackTransaction();
    ///@}
    /// Makes this process the one that writes the file, as its first write would: it stays so
    /// until it ends, and while another process is, every write fails. False, with the writing
    /// process named in lastError(), when another one is, or with the reason when the lock
    /// file beside the database cannot be locked. Needs no Open.
    bool ClaimWriter();

    /// Closes the calling thread's physical connections; the next Open reopens. Call it only
    /// when no object on the thread is open, as the last store work of a thread that may
    /// still be ending while the process exits. Any thread may call it, for itself.
    static void CloseThreadConnections();

    /// The statements that create every table with its indexes, in a fixed order, and mark
    /// the file with SCHEMA_VERSION. Each statement is idempotent. Any thread may call it.
    static QStringList schemaStatements();

    ///@{
    /// @brief The table of this database, never null and living as long as this object; its
    /// operations run on this object's connection and fail while it is not open.
    ConfigurationPairsTable *GetConfigurationPairsTable() { return &m_configurationPairs; }
    MapObjectsTable *GetMapObjectsTable() { return &m_mapObjects; }
    MapObjectParametersTable *GetMapObjectParametersTable() { return &m_mapObjectParameters; }
    NetworkMapObjectsTable *GetNetworkMapObjectsTable() { return &m_networkMapObjects; }
    NetworkMapObjectDetailsTable *GetNetworkMapObjectDetailsTable()
    {
        return &m_networkMapObjectDetails;
    }
    NetworkMapsTable *GetNetworkMapsTable() { return &m_networkMaps; }
    WarrantyUsersDataTable *GetWarrantyUsersDataTable() { return &m_warrantyUsersData; }
    WarrantyRegistrationsTable *GetWarrantyRegistrationsTable() { return &m_warrantyRegistrations; }
    DeletedDevicesTable *GetDeletedDevicesTable() { return &m_deletedDevices; }
    DeviceSessionsTable *GetDeviceSessionsTable() { return &m_deviceSessions; }
    MacAliasesTable *GetMacAliasesTable() { return &m_macAliases; }
    ///@}

    /// What the tables reach of the database, through the store's private header.
    class Statements;

private:
    bool EndTransaction(bool commit);

    // SQL prepared on the calling thread's connection and kept for reuse; null, with the
    // reason in ERROR, while this object is not open or when the statement is refused (one
    // that WRITES also while another process writes the file). Finish the query after use.
    QSqlQuery *Statement(const QString &sql, bool writes, QSqlError &error) const;
    // Records a failed statement and logs it unless it belongs to a burst of the same
    // failure that was logged already; WHAT names the table and operation.
    void reportError(const QString &what, const QSqlError &error);

    QString m_connectionName;
    bool m_open = false;
    // Made only on a failure: a QSqlError allocates, and a database object is made for every
    // statement a data handler runs.
    std::optional<QSqlError> m_lastError;

    ConfigurationPairsTable m_configurationPairs;
    MapObjectsTable m_mapObjects;
    MapObjectParametersTable m_mapObjectParameters;
    NetworkMapObjectsTable m_networkMapObjects;
    NetworkMapObjectDetailsTable m_networkMapObjectDetails;
    NetworkMapsTable m_networkMaps;
    WarrantyUsersDataTable m_warrantyUsersData;
    WarrantyRegistrationsTable m_warrantyRegistrations;
    DeletedDevicesTable m_deletedDevices;
    DeviceSessionsTable m_deviceSessions;
    MacAliasesTable m_macAliases;
};

} // namespace zeldb

#endif // ZELDB_ZELDBDATABASE_H
