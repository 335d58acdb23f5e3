#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include "DiscoveryRecords.h"
#include "RawStore.h"
#include "TestSupport.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace zelmw;
using zeltest::RawStore;

namespace {

const QString UNREACHABLE_DETAILS
    = QStringLiteral("SELECT count(*) FROM NetworkMapObjectDetails WHERE NetworkMapObjectId NOT IN "
                     "(SELECT Id FROM NetworkMapObjects)");

// Every table and index as SQL, by name, of the store open on DATABASE.
QStringList schemaOf(const QSqlDatabase &database)
{
    QSqlQuery query(database);
    query.exec(QStringLiteral("SELECT sql FROM sqlite_master WHERE name NOT LIKE 'sqlite_%' "
                              "ORDER BY name"));
    QStringList statements;
    while (query.next())
        statements << query.value(0).toString();
    return statements;
}

// The schema a store created by this release has.
QStringList newStoreSchema()
{
    const QString name = QStringLiteral("fresh");
    QStringList schema;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        database.setDatabaseName(QStringLiteral(":memory:"));
        database.open();
        QSqlQuery query(database);
        for (const QString &statement : zeldb::ZelDbDatabase::schemaStatements())
            query.exec(statement);
        schema = schemaOf(database);
    }
    QSqlDatabase::removeDatabase(name);
    return schema;
}

} // namespace

class TestStoreMigration : public QObject
{
    Q_OBJECT

private slots:
    // Must run first: the first release's store is put where this process keeps its store
    // before anything opens it. It comes out as a store of this release would be, with every
    // device, and without the details its deleted devices left behind.
    void migratesTheFirstReleasesStore()
    {
        const QString path = ZelDbConnection().getDbPath();
        QVERIFY(QFile::copy(QStringLiteral(ZEL_FIXTURES "/store-version1.db"), path));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        RawStore store;
        QVERIFY(store.isOpen());
        QCOMPARE(store.value(QStringLiteral("PRAGMA user_version")).toInt(),
                 zeldb::ZelDbDatabase::SCHEMA_VERSION);
        QCOMPARE(schemaOf(store.getSqlDatabase()), newStoreSchema());
        QCOMPARE(store.value(UNREACHABLE_DETAILS).toInt(), 0);
        QCOMPARE(store.rowCount(QStringLiteral("NetworkMapObjectDetails")), 201);
        const NetworkMapSharedPtr map = NetworkMapFactory::getInstance()->getNetworkMap(1);
        QVERIFY(map);
        QCOMPARE(map->count(), 25);
        QCOMPARE(map->getMasterDevice()->getDetailValue(UPNP_PARAM_MODELNAME, QString()),
                 QStringLiteral("HomeHub 3000"));
    }

    // Devices that come and go for as long as the application runs, named by their users and
    // changing type on the way: every deletion takes its details along, and what is kept for
    // their return and their history stays within its bounds, so the file stops growing once
    // its free pages are reused.
    void comingAndGoingKeepsTheStoreBounded()
    {
        using namespace zeltest;
        RawStore store;
        QVERIFY(store.isOpen());
        store.clearTables();
        QVERIFY(ConfigDataFactory::getInstance()->saveConfigData(SESSIONS_PER_DEVICE, "4"));
        const NetworkMapSharedPtr map
            = NetworkMapFactory::getInstance()->addNetworkMap(mac(1), QString(), "Home");
        QVERIFY(map && map->addDiscovery(router()));
        const auto cycles = [&](int first, int count) {
            for (int n = first; n < first + count; ++n) {
                DiscoveryType record = device(DEVICE_TYPE_UNKNOWN_DEVICE, 2 + n % 16);
                record.insert(DEVICE_PARAM_NAME, QStringLiteral("phone %1").arg(n));
                const NetworkMap::NetworkMapObjectPtr phone = map->addDiscovery(record);
                if (!phone)
                    return false;
                phone->setUserDefinedName(QStringLiteral("Kim's phone %1").arg(n));
                record.insert(NS_DEVICE_TYPE, DEVICE_TYPE_PC);
                const NetworkMap::NetworkMapObjectPtr pc = map->addDiscovery(record);
                if (!pc || pc == phone || !map->deleteNwMapObject(pc->getId()))
                    return false;
            }
            store.value(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
            return true;
        };
        QVERIFY(cycles(0, 300));
        const int pagesWarm = store.value(QStringLiteral("PRAGMA page_count")).toInt();
        QVERIFY(cycles(300, 3000));
        QCOMPARE(store.value(UNREACHABLE_DETAILS).toInt(), 0);
        const int pagesAfter = store.value(QStringLiteral("PRAGMA page_count")).toInt();
        qInfo("store pages after 300 cycles: %d, after 3300: %d", pagesWarm, pagesAfter);
        QVERIFY2(pagesAfter <= pagesWarm + 4, qPrintable(QString::number(pagesAfter)));
    }
};

ZEL_TEST_MAIN(TestStoreMigration)
#include "tst_storemigration.moc"
