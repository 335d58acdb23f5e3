#include "StoreSetup.h"

#include "ConfigDefaults.h"

#include <zelmw/persistence/ZelDbConnection.h>

#include <QDir>
#include <QSqlError>

bool StoreSetup::open(const QString &dataDir, Use use, QString &error)
{
    if (!dataDir.isEmpty()) {
        if (!QDir().mkpath(dataDir)) {
            error = QStringLiteral("cannot create the data directory ") + dataDir;
            return false;
        }
        if (!zelmw::ZelDbConnection::setDataDirectory(QDir(dataDir).absolutePath())) {
            error = QStringLiteral("the data directory cannot be changed any more");
            return false;
        }
    }
    zelmw::ZelDbConnection connection;
    if (!connection.open()) {
        error = QStringLiteral("cannot open the database ") + connection.getDbPath();
        return false;
    }
    switch (use) {
    case Use::Read:
        return true;
    case Use::Configure:
        return ConfigDefaults::seed(error);
    case Use::Feed:
        break;
    }
    return claimForFeeding(error);
}

bool StoreSetup::claimForFeeding(QString &error)
{
    // Only one process writes a store at a time: a feed that could not store its records
    // stops before the first.
    zelmw::ZelDbConnection connection;
    if (!connection.open()) {
        error = QStringLiteral("cannot open the database ") + connection.getDbPath();
        return false;
    }
    if (!connection.claimWriter()) {
        error = connection.getLastSqlError().databaseText();
        return false;
    }
    return ConfigDefaults::seed(error);
}
