#include <zelmw/persistence/ConfigPairsDataHandler_p.h>
#include <zelmw/persistence/StoreTransaction_p.h>

#include "ModelReset.h"
#include "RawStore.h"
#include "TestSupport.h"

#include <QStandardPaths>
#include <QtTest>

using namespace zelmw;

using zeltest::RawStore;

class TestZelDbConnection : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QVERIFY(zeltest::resetModel()); }

    // Must run first: the first connection object of the process fixes the path. A host's
    // own choice of directory is tested apart.
    void pathIsInTheDataLocation()
    {
        ZelDbConnection connection;
        QCOMPARE(connection.getDbPath(),
                 QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
                     + QDir::separator() + QStringLiteral("ZelDb.db"));
        // The directory comes with the first object, the file only with the first open.
        QVERIFY(QDir(connection.getAbsoluteDir()).exists());
        QVERIFY(!connection.getDbFileInfo().exists());
    }

    // Every table is used by the tests of its entities; the version marks the schema for
    // later releases.
    void firstOpenCreatesTheSchema()
    {
        RawStore connection;
        QVERIFY(connection.isOpen());
        QCOMPARE(connection.value(QStringLiteral("PRAGMA user_version")).toInt(),
                 zeldb::ZelDbDatabase::SCHEMA_VERSION);
    }

    void connectionObjectsNest()
    {
        RawStore outer;
        ConfigPairsDataHandler handler;
        QVERIFY(handler.addRecord(QStringLiteral("KEY"), QStringLiteral("v")));
        QVERIFY(!handler.isOpen()); // a handler closes after its one call
        QCOMPARE(outer.rowCount(QStringLiteral("ConfigurationPairs")), 1);
    }

    // An inner scope left without a commit dooms the outer one. Nested scopes that commit are
    // every change's; a failed statement in one is the failure sweep's.
    void transactionScopesNestPerThread()
    {
        {
            StoreTransaction outer;
            QVERIFY(ConfigPairsDataHandler().addRecord("C", "3"));
            {
                StoreTransaction inner;
                QVERIFY(ConfigPairsDataHandler().addRecord("D", "4"));
            }
            QVERIFY(!outer.commit());
        }
        {
            StoreTransaction abandoned;
            QVERIFY(ConfigPairsDataHandler().addRecord("E", "5"));
        }
        QCOMPARE(RawStore().rowCount(QStringLiteral("ConfigurationPairs")), 0);
    }
};

ZEL_TEST_MAIN(TestZelDbConnection)
#include "tst_zeldbconnection.moc"
