#ifndef ZELMW_PERSISTENCE_ZELDBCONNECTION_H
#define ZELMW_PERSISTENCE_ZELDBCONNECTION_H

#include <zelmw/zelmw_export.h>

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <boost/shared_ptr.hpp>

namespace zeldb {
class ZelDbDatabase;
class ConfigurationPairsTable;
class MapObjectsTable;
class MapObjectParametersTable;
class NetworkMapObjectsTable;
class NetworkMapObjectDetailsTable;
class NetworkMapsTable;
class WarrantyUsersDataTable;
class WarrantyRegistrationsTable;
class DeletedDevicesTable;
class DeviceSessionsTable;
class MacAliasesTable;
} // namespace zeldb

namespace zelmw {

/// The library's road to the record store. The first object constructed in the process fixes
/// the database path (the application data location and "ZelDb.db") and creates its
/// directory; the first open() that finds no database creates the tables.
///
/// Connection objects are cheap: all objects on one thread share that thread's one physical
/// connection to the file, which stays open until the thread ends, while open() and close()
/// are each object's own state. So a transaction begun through one object covers what the
/// others on the same thread write until it ends. Copies share one database object, and so
/// its open state and last error. Any number of objects may be open at once, on one thread or
/// on several, but an object takes no lock: use it on the thread that opened it.
class ZELMW_EXPORT ZelDbConnection
{
public:
    /// The file name of the database in the data location.
    static const QString DB_NAME;
    /// The name every object passes to the record store; it keeps one connection per thread.
    static const QString CONN_NAME;

    /// Keeps the database in @p directory (created when missing) instead of the application
    /// data location. Call it before any other use of the library: once the first connection
    /// object has fixed the path, it answers false and changes nothing; an empty directory is
    /// refused. Any thread may call it.
    static bool setDataDirectory(const QString &directory);

    /// A closed connection object; the first one in the process fixes the database path.
    ZelDbConnection();
    ///@{
    /// The copy shares the database object: its open state and last error.
    ZelDbConnection(const ZelDbConnection &other);
    ZelDbConnection &operator=(const ZelDbConnection &other);
    ///@}
    /// Leaves the thread's physical connection open; it ends with the thread.
    virtual ~ZelDbConnection();

    ///@{
    /// The database file, fixed once per process, as a path and as file information.
    QString getDbPath() const;
    QFileInfo getDbFileInfo() const;
    ///@}
    /// The directory that holds the database file.
    QString getAbsoluteDir() const;
    /// The calling thread's connection while this object is open; invalid otherwise. Use it
    /// on the calling thread only.
    QSqlDatabase getSqlDatabase() const;
    /// The error of this object's last failed operation; a later success does not clear it.
    /// No error (invalid) before any failure.
    QSqlError getLastSqlError() const;
    /// The Qt name of the calling thread's connection while open; empty otherwise.
    QString getConnectionName() const;

    /// Opens this object, creating the file and the tables when there is none (or an empty
    /// one); false, logged once, when the file cannot be opened or is not a database. The first
    /// open in the process moves a damaged file aside (never deleting it) and starts a new one,
    /// and migrates a file of an earlier release to zeldb::ZelDbDatabase::SCHEMA_VERSION, each
    /// step in one transaction (a failed one is tried again at the next open). A file of a
    /// later release is refused, said in one line, and never written to: every open fails.
    bool open();
    /// Closes this object; the thread's physical connection stays open. True once closed.
    bool close();
    /// Whether this object (or a copy sharing its database object) is open.
    bool isOpen();

    ///@{
    /// One transaction per thread, shared by every connection object open on it and counted:
    /// the outermost begin and commit take effect, nested ones only count, and a rollback at
    /// any depth rolls the whole transaction back when the outermost one ends. A statement
    /// that fails inside it fails the whole transaction. Each answers false while this object
    /// is not open or when SQLite refused.
    bool beginTransaction();
    bool commitTransaction();
    bool rollbackTransaction();
    ///@}
    /// One process writes the file at a time: the first write of a process makes it the
    /// writer until it ends, and writes of others fail meanwhile. This makes this process the
    /// writer now, so a host learns before doing any work whether its writes can be stored;
    /// false, with the writing process named in getLastSqlError(), while another one is.
    bool claimWriter();

    /// The store's maintenance step, for an open connection outside any transaction: removes
    /// in one transaction what nothing reaches any more (detail rows of devices whose row is
    /// gone, as a store of an earlier release or NetworkMapObjectFactory's deletion leaves
    /// them, and the kept records, sessions and aliases of maps that are gone). Makes this
    /// process the store's writer first. The number of rows removed, or -1 when the store
    /// refused (nothing is removed then).
    int removeUnreachableRows();
    /// Rewrites the file without its free pages (SQLite's VACUUM), for an open connection
    /// outside any transaction; the writer first, as for removeUnreachableRows(). Takes about
    /// as long as copying the file; false when the store refused.
    bool compact();

    /// Empties every table of an open connection, each on its own; failures are not
    /// reported (see getLastSqlError()). Bypasses the model: caches and signals do not follow.
    void clearTables();

protected:
    ///@{
    /// The record store's tables, for the data handlers; use them while this object is open.
    zeldb::ConfigurationPairsTable *getConfigurationPairsTable();
    zeldb::MapObjectsTable *getMapObjectsTable();
    zeldb::MapObjectParametersTable *getMapObjectParametersTable();
    zeldb::NetworkMapObjectsTable *getNetworkMapObjectsTable();
    zeldb::NetworkMapObjectDetailsTable *getNetworkMapObjectDetailsTable();
    zeldb::NetworkMapsTable *getNetworkMapsTable();
    zeldb::WarrantyUsersDataTable *getWarrantyUsersDataTable();
    zeldb::WarrantyRegistrationsTable *getWarrantyRegistrationsTable();
    zeldb::DeletedDevicesTable *getDeletedDevicesTable();
    zeldb::DeviceSessionsTable *getDeviceSessionsTable();
    zeldb::MacAliasesTable *getMacAliasesTable();
    ///@}

private:
    class Initializer;

    void createTables();

    boost::shared_ptr<zeldb::ZelDbDatabase> m_database;
};

} // namespace zelmw

#endif // ZELMW_PERSISTENCE_ZELDBCONNECTION_H
