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
    // own choice of directory is the store-fault tests'. The directory comes with the first object,
    // the file with the first open, and the version marks the schema for later releases. That
    // connection objects nest, every test's raw view of the store shows.
    void firstConnectionAndOpen()
    {
        ZelDbConnection connection;
        QCOMPARE(connection.getDbPath(),
                 QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
                     + QDir::separator() + QStringLiteral("ZelDb.db"));
        QVERIFY(QDir(connection.getAbsoluteDir()).exists());
        QVERIFY(!connection.getDbFileInfo().exists());
        RawStore opened;
        QVERIFY(opened.isOpen() && connection.getDbFileInfo().exists());
        QCOMPARE(opened.value(QStringLiteral("PRAGMA user_version")).toInt(),
                 zeldb::ZelDbDatabase::SCHEMA_VERSION);
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
