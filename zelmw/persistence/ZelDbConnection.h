#ifndef ZELMW_PERSISTENCE_ZELDBCONNECTION_H
#define ZELMW_PERSISTENCE_ZELDBCONNECTION_H

#include <zelmw/zelmw_export.h>

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <zeldb/ZelDb.h>

namespace zelmw {

// The library's road to the record store. The first object constructed in the process fixes
// the database path (the application data location and "ZelDb.db") and creates its
// directory; the first open() that finds no database creates the tables. Copies share one
// database object. Any number of connection objects may be open at once, on one thread or
// on several.
class ZELMW_EXPORT ZelDbConnection
{
public:
    static const QString DB_NAME;
    static const QString CONN_NAME;

    ZelDbConnection();
    ZelDbConnection(const ZelDbConnection &other);
    ZelDbConnection &operator=(const ZelDbConnection &other);
    virtual ~ZelDbConnection();

    QString getDbPath() const;
    QFileInfo getDbFileInfo() const;
    QString getAbsoluteDir() const;
    QSqlDatabase getSqlDatabase() const;
    QSqlError getLastSqlError() const;
    QString getConnectionName() const;

    bool open();
    bool close();
    bool isOpen();

    // One transaction per thread, shared by every connection object open on it and counted:
    // the outermost begin and commit take effect, nested ones only count, and a rollback at
    // any depth rolls the whole transaction back when the outermost one ends.
    bool beginTransaction();
    bool commitTransaction();
    bool rollbackTransaction();

    // Empties all eight tables of an open connection.
    void clearTables();

protected:
    zeldb::ConfigurationPairsTable *getConfigurationPairsTable();
    zeldb::MapObjectsTable *getMapObjectsTable();
    zeldb::MapObjectParametersTable *getMapObjectParametersTable();
    zeldb::NetworkMapObjectsTable *getNetworkMapObjectsTable();
    zeldb::NetworkMapObjectDetailsTable *getNetworkMapObjectDetailsTable();
    zeldb::NetworkMapsTable *getNetworkMapsTable();
    zeldb::WarrantyUsersDataTable *getWarrantyUsersDataTable();
    zeldb::WarrantyRegistrationsTable *getWarrantyRegistrationsTable();

private:
    class Initializer;

    void createTables();

    boost::shared_ptr<zeldb::ZelDbDatabase> m_database;
};

} // namespace zelmw

#endif // ZELMW_PERSISTENCE_ZELDBCONNECTION_H
