#include <zelmw/discovery/DiscoveryQueueListener_p.h>
#include <zelmw/zelmw.h>

#include "DiscoveryRecords.h"
#include "LogCapture.h"
#include "ModelState.h"
#include "NetworkMapStore.h"
#include "TestSupport.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <atomic>
#include <csignal>
#include <sys/resource.h>

using namespace zelmw;
using namespace zeltest;

namespace {

enum Fault { FullDisk, Locked };

// Runs WORK while the store cannot be written. A full disk: no file of this process may grow,
// and the write-ahead log was emptied first, so a commit must grow it. Locked: another
// connection holds the write lock longer than one statement waits for it, and lets go while
// a second statement still would wait; WORK has the listener apply records, and waits.
void underFault(Fault fault, const std::function<void()> &work)
{
    const QString path = RawStore().getDbPath();
    if (fault == FullDisk) {
        RawStore().value(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        QCOMPARE(QFileInfo(path + QLatin1String("-wal")).size(), 0);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit normal;
        getrlimit(RLIMIT_FSIZE, &normal);
        const rlimit full { 0, normal.rlim_max };
        QVERIFY(!setrlimit(RLIMIT_FSIZE, &full));
        work();
        setrlimit(RLIMIT_FSIZE, &normal);
        return;
    }
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), path);
        other.setDatabaseName(path);
        QVERIFY(other.open() && QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
        // Counted from when the listener takes a record, however busy the machine is. The
        // listener only raises a flag: a functor made on its thread and run on this one would be
        // a handoff through Qt's event queue, which ThreadSanitizer cannot see.
        std::atomic<bool> taken { false };
        DiscoveryQueueListener::setRecordObserver([&](const DiscoveryType &) { taken = true; });
        QElapsedTimer since;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (taken && !since.isValid())
                since.start();
            if (since.isValid() && since.elapsed() >= 6500) {
                poll.stop();
                other.close();
            }
        });
        poll.start(10);
        work();
        DiscoveryQueueListener::setRecordObserver({});
        QTRY_VERIFY_WITH_TIMEOUT(!other.isOpen(), 10000);
    }
    QSqlDatabase::removeDatabase(path);
}

} // namespace

// A unit of work that fails leaves memory as the store has it and announces nothing; the
// same change succeeds once the store works again.
class TestUnitOfWork : public QObject
{
    Q_OBJECT

    // The router with a value that the stored one lacks: its record has something to write.
    const DiscoveryType m_updatedRouter = router({ { GATEWAY_PARAM_FW_VERSION, "2.1" } });

private slots:
    void init()
    {
        DiscoveryHandler().setListenerInterval(0);
        QVERIFY(zeltest::resetModel());
    }

    // Records of a new type, a new parameter and new devices, failed on a full disk. The store
    // hands their ids out again to later records; memory serves none of the failed rows, and
    // each device is announced once, after it is stored. Which ids the signals name, under
    // every failed statement, the failure sweep checks.
    void failedRecordsLeaveNoTrace()
    {
        QVERIFY(apply({ router() }) && mapInUse());
        const NetworkMapSharedPtr map = mapInUse();
        QSignalSpy created(map.get(), &NetworkMap::nwMapObjCreated);
        const QStringList before = storeState();
        const QList<DiscoveryType> records {
            device(DEVICE_TYPE_PC, 2, { { PC_PARAM_PLATFORM, "linux" } }),
            device(DEVICE_TYPE_UNKNOWN_DEVICE, 3), m_updatedRouter
        };
        const LogCapture log(QStringLiteral("ZELDB"));
        underFault(FullDisk, [&] { QVERIFY(apply(records)); });
        // One line for the burst; the store is sound, and neither it nor memory changed.
        QCOMPARE(log.lines().size(), 1);
        QCOMPARE(RawStore().value(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        QCOMPARE(storeState(), before);
        QCOMPARE(memoryState(), before);
        QCOMPARE(created.size(), 0);

        // A new type first, to take the id the failed one had.
        QVERIFY(apply(QList<DiscoveryType> { device(DEVICE_TYPE_UNKNOWN_DEVICE, 4),
                                             device(DEVICE_TYPE_PC, 5) }
                      + records));
        QCOMPARE(memoryState(), storeState());
        QCOMPARE(created.size(), 4);
    }

    // A router record that fails on a store that knows no network yet, or this router's
    // network (the application just started). Locked, the lookup of the map fails: that must
    // not read as "no such map".
    void failedRouterRecord_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("known");
        QTest::newRow("new network, full disk") << int(FullDisk) << false;
        QTest::newRow("new network, locked") << int(Locked) << false;
        QTest::newRow("known network, full disk") << int(FullDisk) << true;
        QTest::newRow("known network, locked") << int(Locked) << true;
    }
    void failedRouterRecord()
    {
        QFETCH(int, fault);
        QFETCH(bool, known);
        if (known)
            QVERIFY(apply({ router() }));
        const QStringList before = storeState();
        forgetModel();
        QSignalSpy changes(InUseMapController::getInstance().get(),
                           &InUseMapController::inUseMapChanged);
        underFault(Fault(fault), [this] { QVERIFY(apply({ m_updatedRouter })); });
        QCOMPARE(changes.size(), 0);
        QCOMPARE(storeState(), before);
        QCOMPARE(memoryState(), before);

        // One map, in use in memory as the stored setting says.
        QVERIFY(apply({ m_updatedRouter, device(DEVICE_TYPE_PC, 2) }));
        QCOMPARE(changes.size(), 1);
        QCOMPARE(RawStore().rowCount(QStringLiteral("NetworkMaps")), 1);
        QCOMPARE(memoryState(), storeState());
        QCOMPARE(mapInUse()->count(), 2);
    }

    // Ping reports, a lease that ran out, a login, a setting and a device type deleted, each
    // once more after the failure.
    void failedChangeIsRetried_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("disconnections");
        QTest::addColumn<int>("deletions");
        QTest::newRow("fifth failed ping") << "ping" << 1 << 0;
        QTest::newRow("all disconnected") << "all" << 2 << 0;
        QTest::newRow("lease expired") << "lease" << 0 << 1;
        QTest::newRow("password") << "password" << 0 << 0;
        QTest::newRow("setting deleted") << "setting" << 0 << 0;
        QTest::newRow("type deleted") << "type" << 0 << 0;
    }
    void failedChangeIsRetried()
    {
        QFETCH(QString, change);
        QFETCH(int, disconnections);
        QFETCH(int, deletions);
        const NetworkMapSharedPtr map
            = NetworkMapFactory::getInstance()->addNetworkMap(mac(1), QString(), "Home");
        const auto gateway = map->addDiscovery(router());
        const auto pc = map->addDiscovery(device(DEVICE_TYPE_PC, 2));
        QVERIFY(gateway && pc);
        VelCpeFacade cpe(gateway);
        QVERIFY(cpe.saveAuthentication(true, "admin", "old"));
        const auto config = ConfigDataFactory::getInstance();
        QVERIFY(config->saveConfigData("setting", "on"));
        const auto types = MapObjectFactory::getInstance();
        const int typeId = types->getMapObject(DEVICE_TYPE_PRINTER, true)->getId();
        const QMap<QString, bool> pcFailed { { pc->getIpAddress(), false } };
        for (int i = 0; change == "ping" && i < 4; ++i)
            map->saveConnectionStatus(pcFailed);
        if (change == "lease") {
            pc->setIsConnected(false, true);
            const QDateTime dayAgo = QDateTime::currentDateTime().addDays(-1);
            QVERIFY(pc->saveDetail(DEVICE_PARAM_LAN_DISCONNECT_TIME, dayAgo.toString(Qt::ISODate)));
        }
        const auto run = [&] {
            if (change == "password")
                return cpe.saveAuthentication(true, "admin", "new");
            if (change == "setting")
                return bool(config->deleteConfigData("setting"));
            if (change == "type")
                return bool(types->deleteMapObject(typeId));
            if (change == "all")
                map->setAllDeviceConnectionStatus(false, true);
            else
                map->saveConnectionStatus(pcFailed);
            return true;
        };
        QSignalSpy disconnected(map.get(), &NetworkMap::nwmapObjDisconnected);
        QSignalSpy deleted(map.get(), &NetworkMap::nwMapObjDeleted);
        const QStringList before = storeState();
        QCOMPARE(memoryState(), before);
        // Ping reports and lease deletions answer nothing; the others answer that they failed.
        const bool answers = QStringList({ "password", "setting", "type" }).contains(change);
        underFault(FullDisk, [&] { QCOMPARE(run(), !answers); });
        QCOMPARE(disconnected.size() + deleted.size(), 0);
        QCOMPARE(memoryState(), before);
        QCOMPARE(storeState(), before);

        QVERIFY(run());
        QCOMPARE(disconnected.size(), disconnections);
        QCOMPARE(deleted.size(), deletions);
        QVERIFY(storeState() != before);
        QCOMPARE(memoryState(), storeState());
    }

    // A store that cannot be opened: lookups answer null, writes and listings false (the
    // warranty classes' too), and memory keeps what the store holds, unannounced.
    void unopenableStore()
    {
        const auto types = MapObjectFactory::getInstance();
        const auto config = ConfigDataFactory::getInstance();
        const auto devices = NetworkMapObjectFactory::getInstance();
        QVERIFY(config->saveConfigData("cached", "a"));
        const auto device = NetworkMapStore::device(DEVICE_TYPE_PC);
        const QString wireless = DEVICE_PARAM_LAN_CONNECTION_ISWIRELESS;
        QVERIFY(device->saveDetail(wireless, BOOL_TRUE_VALUE));
        const auto user = WarrantyManager().addOrUpdateUser("A", QString(), QString(), 0);
        QVERIFY(user->getId() > 0);
        types->clear();
        QSignalSpy changes(device.get(), &NetworkMapObject::detailChanged);
        const LogCapture log(QStringLiteral("ZELDB"));
        QList<bool> failed;
        QMap<QString, QString> entries { { "left", "over" } };
        QList<int> ids { 1 };
        QVERIFY(runWithUnopenableDatabase(RawStore().getDbPath(), [&] {
            failed << !ZelDbConnection().open() << !types->getMapObject(DEVICE_TYPE_PC, true)
                   << !types->getMapObject(1) << !types->exists(DEVICE_TYPE_PC)
                   << !config->getConfigData("stored") << !config->isKeyExists("stored")
                   << !config->addConfigData("new", "x") << !config->saveConfigData("new", "x")
                   << !config->saveConfigData("cached", "b")
                   << (!config->getConfigEntries(entries) && entries.isEmpty())
                   << (!NetworkMapFactory::getInstance()->getNetworkMapIds(ids) && ids.isEmpty())
                   << config->getConfigValue("cached").isNull()
                   << !devices->getNetworkMapObject(device->getId())
                   << !devices->addNetworkMapObject(device->getMapObjectId(), 1, "new",
                                                    "00:11:22:33:44:66", "10.0.0.3")
                   << !device->saveDetail(wireless, BOOL_FALSE_VALUE)
                   << !device->deleteDetail(wireless) << device->hasDetail(wireless);
            device->setName("renamed");
            failed << !device->saveData() << !device->saveData() << !device->deleteData();
            WarrantyManager warranty;
            WarrantyUser loaded(user->getId());
            loaded.setName("x");
            failed << (loaded.getId() == 0 && loaded.getName().isEmpty() && !loaded.save())
                   << !WarrantyDevice(0).getWarrantyUser() << !user->save() << !warranty.getZel()
                   << warranty.getAllUsers().isEmpty()
                   << warranty.getUnregisteredDevices().isEmpty()
                   << !warranty.addOrUpdateZel("1", user)
                   << !warranty.addOrUpdateCpe(QString(), QString(), "S", QString(), user)
                   << (warranty.addOrUpdateUser("B", QString(), QString(), 0)->getId() == 0);
        }));
        QCOMPARE(failed, QVector<bool>(29, true).toList());
        // One line for the burst of failed opens, none for the calls never made.
        QCOMPARE(log.lines().size(), 1);
        QVERIFY(types->isEmpty());
        QCOMPARE(device->getDetailValue(wireless, QString()), BOOL_TRUE_VALUE);
        QCOMPARE(changes.size(), 0);
    }
};

ZEL_TEST_MAIN(TestUnitOfWork)
#include "tst_unitofwork.moc"
