#include <zelmw/networkmap/NetworkMapDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectDetailDataHandler_p.h>

#include "NetworkMapStore.h"
#include "TestSupport.h"

#include <QtTest>

using namespace zelmw;

class TestNetworkMapDataHandlers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        zeltest::isolateDataLocation();
        zeltest::failOnSqlMisuse();
    }

    void cleanup() { NetworkMapStore::reset(); }

    void mapRowsAreFlaggedAndFoundBySerial()
    {
        NetworkMapDataHandler maps;
        QVERIFY(!maps.addRecord("", "name"));
        QVERIFY(!maps.addRecord("@MAC:1", ""));

        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        const auto added = maps.addRecord("@MAC:1", "home");
        QVERIFY(added && added->Id() > 0);
        const auto stored = maps.getRecord(int(added->Id()));
        QVERIFY(stored);
        QVERIFY(stored->IsActive() && stored->IsDefault() && stored->IsInUse()
                && stored->IsHistoryMap());
        QVERIFY(stored->CreateDate() >= before);

        QCOMPARE(maps.getRecordBySerial("@MAC:1")->Id(), added->Id());
        QVERIFY(!maps.getRecordBySerial("@mac:1"));
        QVERIFY(!maps.getRecord(int(added->Id()) + 1));
    }

    void deviceAndDetailRowsRefuseMissingText()
    {
        NetworkMapObjectDataHandler devices;
        QVERIFY(!devices.addRecord(1, 7, "", "00:11:22:33:44:55", "10.0.0.1", true));
        QVERIFY(!devices.addRecord(1, 7, "pc", "", "10.0.0.1", true));
        QVERIFY(!NetworkMapObjectDetailDataHandler().addRecord(1, 1, ""));
        NetworkMapStore store;
        QCOMPARE(store.deviceRows(), 0);
        QCOMPARE(store.detailRows(), 0);

        QVERIFY(devices.getRecordsByNetworkMapId(7).isEmpty());
        const auto added = devices.addRecord(1, 7, "pc", "00:11:22:33:44:55", "", false);
        devices.addRecord(1, 8, "other map", "00:11:22:33:44:57", "10.0.0.3", true);
        const auto row = store.deviceRow(int(added->Id()));
        QVERIFY(row.IsActive() && !row.IsHistoryObject() && !row.IsConnected());
        QCOMPARE(devices.getRecordsByNetworkMapId(7).size(), 1);
    }

    void updateWritesOnlyTheGivenFieldsOfAnIdentifiedRow()
    {
        NetworkMapObjectDetailDataHandler details;
        const auto added = details.addRecord(4, 9, "old");
        const int id = int(added->Id());

        QVERIFY(!details.updateRecord({ { 3, "new" } }));
        QVERIFY(!details.updateRecord({ { 0, 0 }, { 3, "new" } }));
        QVERIFY(!details.updateRecord({ { 0, id + 1 }, { 3, "new" } }));
        QCOMPARE(NetworkMapStore().detailRow(id).Value(), QString("old"));

        QVERIFY(details.updateRecord({ { 0, id }, { 3, "new" } }));
        const auto row = NetworkMapStore().detailRow(id);
        QCOMPARE(row.Value(), QString("new"));
        QCOMPARE(row.NetworkMapObjectId(), 4u);
        QCOMPARE(row.MapObjectParameterId(), 9u);
        QVERIFY(row.UpdateDate().isValid());

        QVERIFY(details.deleteRecord(id));
        QVERIFY(!details.deleteRecord(id));
        QVERIFY(details.getRecordsByNetworkMapObjectId(4).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestNetworkMapDataHandlers)
#include "tst_networkmapdatahandlers.moc"
