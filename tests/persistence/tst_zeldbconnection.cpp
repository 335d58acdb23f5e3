#include <zelmw/persistence/ConfigPairsDataHandler_p.h>
#include <zelmw/persistence/MapObjectDataHandler_p.h>
#include <zelmw/persistence/MapObjectParameterDataHandler_p.h>
#include <zelmw/persistence/StoreTransaction_p.h>

#include "LogCapture.h"
#include "ModelReset.h"
#include "RawStore.h"
#include "TestSupport.h"

#include <QStandardPaths>
#include <QtTest>

#include <thread>
#include <vector>

using namespace zelmw;

using zeltest::RawStore;

namespace {

int configRowCount()
{
    return RawStore().rowCount(QStringLiteral("ConfigurationPairs"));
}

} // namespace

class TestZelDbConnection : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QVERIFY(zeltest::resetModel()); }

    // Must run first: the first connection objects of the process fix the path.
    void pathIsFixedOnceEvenAcrossThreads()
    {
        std::vector<QString> paths(4);
        std::vector<std::thread> threads;
        for (QString &path : paths)
            threads.emplace_back([&path] { path = ZelDbConnection().getDbPath(); });
        for (std::thread &thread : threads)
            thread.join();

        const QString expected
            = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
            + QDir::separator() + QStringLiteral("ZelDb.db");
        for (const QString &path : paths)
            QCOMPARE(path, expected);
        ZelDbConnection connection;
        QCOMPARE(connection.getDbPath(), expected);
        // The directory comes with the first object, the file only with the first open.
        QVERIFY(QDir(connection.getAbsoluteDir()).exists());
        QVERIFY(!connection.getDbFileInfo().exists());
    }

    void firstOpenCreatesTheTables()
    {
        RawStore connection;
        QVERIFY(connection.isOpen());
        const QString tables = QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                              "AND name <> 'sqlite_sequence' ORDER BY name");
        QCOMPARE(connection.column(tables),
                 QStringList({ "ConfigurationPairs", "MapObjectParameters", "MapObjects",
                               "NetworkMapObjectDetails", "NetworkMapObjects", "NetworkMaps",
                               "WarrantyRegistrations", "WarrantyUsersData" }));
        QCOMPARE(connection.value(QStringLiteral("PRAGMA user_version")).toInt(),
                 zeldb::ZelDbDatabase::SCHEMA_VERSION);

        // A later open finds the file and creates nothing.
        QSqlQuery(connection.getSqlDatabase())
            .exec(QStringLiteral("DROP TABLE WarrantyRegistrations"));
        QVERIFY(connection.close());
        QVERIFY(connection.open());
        QVERIFY(!connection.column(tables).contains(QStringLiteral("WarrantyRegistrations")));
        QSqlQuery(connection.getSqlDatabase())
            .exec(zeldb::WarrantyRegistrationsTable::createStatement());
    }

    void connectionObjectsNestAndCopiesShare()
    {
        RawStore outer;
        ConfigPairsDataHandler handler;
        QVERIFY(handler.addRecord(QStringLiteral("KEY"), QStringLiteral("v")));
        QVERIFY(!handler.isOpen()); // a handler closes after its one call
        QCOMPARE(outer.rowCount(QStringLiteral("ConfigurationPairs")), 1);

        ZelDbConnection copy(outer);
        QVERIFY(copy.isOpen());
        QVERIFY(copy.close());
        QVERIFY(!outer.isOpen());
    }

    void configHandlerRefusals()
    {
        ConfigPairsDataHandler handler;
        QVERIFY(!handler.addRecord(QString(), QStringLiteral("v")));
        const ConfigPairsDataHandler::RecordPtr stored
            = handler.addRecord(QStringLiteral("KEY"), QStringLiteral("first"));
        QVERIFY(stored);
        QVERIFY(stored->Id() > 0);
        QVERIFY(!handler.addRecord(QStringLiteral("KEY"), QStringLiteral("second")));
        QCOMPARE(configRowCount(), 1);
        QVERIFY(!handler.getRecordByKeyName(QStringLiteral("key")));

        QMap<int, QVariant> withoutId;
        withoutId.insert(zeldb::ConfigurationPairsRecord::FieldConfigKeyValue, QStringLiteral("x"));
        QVERIFY(!handler.updateRecord(withoutId));
        withoutId.insert(0, 0);
        QVERIFY(!handler.updateRecord(withoutId));

        QMap<int, QVariant> fields;
        fields.insert(0, stored->Id());
        fields.insert(zeldb::ConfigurationPairsRecord::FieldConfigKeyValue,
                      QStringLiteral("changed"));
        QVERIFY(handler.updateRecord(fields));
        QCOMPARE(handler.getRecordByKeyName(QStringLiteral("KEY"))->ConfigKeyValue(),
                 QStringLiteral("changed"));
    }

    void transactionScopesNestPerThread()
    {
        {
            StoreTransaction outer;
            QVERIFY(outer.isActive());
            QVERIFY(ConfigPairsDataHandler().addRecord(QStringLiteral("A"), QStringLiteral("1")));
            {
                StoreTransaction inner;
                QVERIFY(ConfigPairsDataHandler().addRecord(QStringLiteral("B"), QStringLiteral("2")));
                QVERIFY(inner.commit());
            }
            QVERIFY(outer.commit());
        }
        QCOMPARE(configRowCount(), 2);
        {
            StoreTransaction outer;
            QVERIFY(ConfigPairsDataHandler().addRecord(QStringLiteral("C"), QStringLiteral("3")));
            {
                StoreTransaction inner;
                QVERIFY(ConfigPairsDataHandler().addRecord(QStringLiteral("D"), QStringLiteral("4")));
            }
            QVERIFY(!outer.commit());
        }
        {
            StoreTransaction abandoned;
            QVERIFY(ConfigPairsDataHandler().addRecord(QStringLiteral("E"), QStringLiteral("5")));
        }
        QCOMPARE(configRowCount(), 2);
    }

    void twoThreadsWriteAtOnce()
    {
        auto writer = [](const QString &prefix, bool &ok) {
            ConfigPairsDataHandler handler;
            ok = true;
            for (int i = 0; i < 100 && ok; ++i)
                ok = bool(handler.addRecord(prefix + QString::number(i), QStringLiteral("v")));
        };
        bool firstOk = false;
        bool secondOk = false;
        std::thread first(writer, QStringLiteral("a"), std::ref(firstOk));
        std::thread second(writer, QStringLiteral("b"), std::ref(secondOk));
        first.join();
        second.join();
        QVERIFY(firstOk);
        QVERIFY(secondOk);
        QCOMPARE(configRowCount(), 200);
    }

    void unopenableDatabaseFailsByResults()
    {
        zeltest::LogCapture capture(QStringLiteral("ZELDB"));
        QList<bool> failed;
        QVERIFY(zeltest::runWithUnopenableDatabase(ZelDbConnection().getDbPath(), [&] {
            QMap<int, QVariant> fields { { 0, 1 } };
            failed << !ZelDbConnection().open()
                   << !ConfigPairsDataHandler().addRecord(QStringLiteral("K"), QStringLiteral("v"))
                   << !MapObjectDataHandler().getRecordByName(QStringLiteral("PC"))
                   << !MapObjectDataHandler().updateRecord(fields)
                   << MapObjectParameterDataHandler().getRecordsByMapObjectId(1).isEmpty();
        }));
        QCOMPARE(failed, QList<bool>({ true, true, true, true, true }));
        // One line for the burst of failed opens, none for the table calls never made.
        QCOMPARE(capture.lines().size(), 1);
    }
};

ZEL_TEST_MAIN(TestZelDbConnection)
#include "tst_zeldbconnection.moc"
