#include <zelmw/networkmap/ConnectionRules_p.h>
#include <zelmw/zelmw.h>

#include "ModelReset.h"
#include "RawStore.h"
#include "TestSupport.h"

#include <QSemaphore>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <thread>

using namespace zelmw;

namespace {

enum Fault { FullDisk, Locked };

// Runs WORK while the store cannot be written. A full disk: no file of this process may grow,
// and the write-ahead log was emptied first, so a commit must grow it. Locked: another
// connection holds the write lock longer than one statement waits for it, and lets go while
// a second statement still would wait.
void underFault(Fault fault, const std::function<void()> &work)
{
    const QString path = zeltest::RawStore().getDbPath();
    if (fault == FullDisk) {
        zeltest::RawStore().value(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
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
    QSemaphore ready;
    bool held = false;
    // A connection belongs to the thread that made it.
    std::thread holder([&] {
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), path);
            other.setDatabaseName(path);
            held = other.open() && QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE"));
            ready.release();
            QThread::msleep(6500);
        }
        QSqlDatabase::removeDatabase(path);
    });
    ready.acquire();
    if (held)
        work();
    holder.join();
    QVERIFY(held);
}

QString mac(int n)
{
    return QStringLiteral("02:00:00:00:00:%1").arg(n, 2, 10, QLatin1Char('0'));
}

DiscoveryType device(const QString &kind, int n, DiscoveryType record = {})
{
    record.insert(NS_DEVICE_TYPE, kind);
    record.insert(DEVICE_PARAM_LAN_MACADDRESS, mac(n));
    record.insert(DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("192.168.1.%1").arg(n));
    return record;
}

// The router; with a FIRMWARE version that the stored one lacks, its record has something to
// write.
DiscoveryType router(const QString &firmware = QString())
{
    DiscoveryType record { { GATEWAY_PARAM_ISROUTER, BOOL_TRUE_VALUE } };
    if (!firmware.isEmpty())
        record.insert(GATEWAY_PARAM_FW_VERSION, firmware);
    return device(DEVICE_TYPE_GATEWAY, 1, record);
}

// Has the listener apply RECORDS and waits until it finished them.
bool apply(const QList<DiscoveryType> &records)
{
    DiscoveryHandler handler;
    const qint64 done = handler.processedDiscoveryCount() + records.size();
    for (const DiscoveryType &record : records)
        handler.addDiscovery(record);
    return QTest::qWaitFor([&] { return handler.processedDiscoveryCount() >= done; }, 30000);
}

NetworkMapSharedPtr mapInUse()
{
    return InUseMapController::getInstance()->getInUseNetworkMap();
}

// The types discovery creates, as the catalogue serves them: "id name, parameter ids and
// names".
QString catalogue()
{
    QString view;
    for (const QString &name :
         { DEVICE_TYPE_GATEWAY, DEVICE_TYPE_PC, DEVICE_TYPE_UNKNOWN_DEVICE }) {
        if (const auto type = MapObjectFactory::getInstance()->getMapObject(name, false)) {
            view += QStringLiteral("\n%1 %2:").arg(type->getId()).arg(name);
            for (const auto &parameter : type->getParameterList())
                view += QStringLiteral(" %1 %2").arg(parameter->getId()).arg(parameter->getName());
        }
    }
    return view;
}

// A map's devices as memory holds them, or the store: "id MAC connected: details".
QStringList devices(const NetworkMap &map, bool inMemory)
{
    if (!inMemory)
        return zeltest::RawStore().column(
            "SELECT o.Id || ' ' || o.MacAddress || ' ' || o.IsConnected || ':' || ifnull((SELECT "
            "group_concat(x, '') FROM (SELECT ' ' || p.Name || '=' || d.Value x FROM "
            "NetworkMapObjectDetails d JOIN MapObjectParameters p ON p.Id = "
            "d.MapObjectParameterId WHERE d.NetworkMapObjectId = o.Id ORDER BY p.Name)), '') FROM "
            "NetworkMapObjects o WHERE o.NetworkMapId = ? ORDER BY o.Id",
            { map.getId() });
    QStringList lines;
    for (const auto &object : map.getNwMapObjectList()) {
        lines << QStringLiteral("%1 %2 %3:")
                     .arg(object->getId())
                     .arg(object->getMacAddress())
                     .arg(int(object->getIsConnected()));
        const QMap<QString, QString> details = object->getDetailNameValueMap();
        for (auto detail = details.cbegin(); detail != details.cend(); ++detail)
            lines.last() += QStringLiteral(" %1=%2").arg(detail.key(), detail.value());
    }
    return lines;
}

} // namespace

// A unit of work that fails leaves memory as the store has it and announces nothing; the
// same change succeeds once the store works again.
class TestUnitOfWork : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        DiscoveryHandler().setListenerInterval(0);
        QVERIFY(zeltest::resetModel());
    }

    // Records of a new type, a new parameter and new devices, failed on a full disk. The store
    // hands their ids out again to later records; a receiver on another thread must hear of
    // each device once, and only of stored ones.
    void failedRecordsLeaveNoTrace()
    {
        QVERIFY(apply({ router() }));
        const NetworkMapSharedPtr map = mapInUse();
        QVERIFY(map);
        QThread thread;
        QObject receiver;
        receiver.moveToThread(&thread);
        thread.start();
        const auto stop = qScopeGuard([&] {
            thread.quit();
            thread.wait();
        });
        QStringList heard;
        connect(map.get(), &NetworkMap::nwMapObjCreated, &receiver,
                [&](int id) { heard << QString::number(id); });
        connect(map.get(), &NetworkMap::nwMapObjDeleted, &receiver,
                [&](int id) { heard << QStringLiteral("deleted %1").arg(id); });
        const QString types = catalogue();
        const QList<DiscoveryType> records { device(DEVICE_TYPE_PC, 2,
                                                    { { PC_PARAM_PLATFORM, "linux" } }),
                                             device(DEVICE_TYPE_UNKNOWN_DEVICE, 3), router("2.1") };
        underFault(FullDisk, [&] { QVERIFY(apply(records)); });
        QCOMPARE(catalogue(), types);
        QCOMPARE(map->count(), 1);

        // A new type first, to take the id the failed one had.
        QVERIFY(apply(QList<DiscoveryType> { device(DEVICE_TYPE_UNKNOWN_DEVICE, 4),
                                             device(DEVICE_TYPE_PC, 5) }
                      + records));
        const QString grown = catalogue();
        MapObjectFactory::getInstance()->clear();
        QCOMPARE(catalogue(), grown);
        QCOMPARE(devices(*map, true), devices(*map, false));
        QStringList received;
        QMetaObject::invokeMethod(
            &receiver, [&] { received = heard; }, Qt::BlockingQueuedConnection);
        QCOMPARE(received.size(), 4);
        QCOMPARE(QSet<QString>(received.begin(), received.end()).size(), 4);
        for (const QString &id : received)
            QCOMPARE(zeltest::RawStore().value("SELECT count(*) FROM NetworkMapObjects WHERE "
                                               "Id = ?",
                                               { id }),
                     QStringLiteral("1"));
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
        // The maps of the router, the setting of the map in use in memory and stored, and
        // the map in use.
        const auto state = [] {
            const NetworkMapSharedPtr inUse = mapInUse();
            return zeltest::RawStore().column("SELECT Id FROM NetworkMaps WHERE Serial = ?",
                                              { "@MAC:" + mac(1) })
                << ConfigDataFactory::getInstance()->getConfigValue(INUSE_NETWORKMAP_ID)
                << zeltest::RawStore().value("SELECT ConfigKeyValue FROM ConfigurationPairs "
                                             "WHERE ConfigKeyName = ?",
                                             { INUSE_NETWORKMAP_ID })
                << (inUse ? QString::number(inUse->getId()) : QString());
        };
        if (known)
            QVERIFY(apply({ router() }));
        const QStringList before = state();
        InUseMapController::getInstance()->reset();
        NetworkMapFactory::getInstance()->clear();
        NetworkMapObjectFactory::getInstance()->clear();
        ConfigDataFactory::getInstance()->clear();
        QSignalSpy changes(InUseMapController::getInstance().get(),
                           &InUseMapController::inUseMapChanged);
        underFault(Fault(fault), [] { QVERIFY(apply({ router("2.1") })); });
        QCOMPARE(changes.size(), 0);
        QCOMPARE(state(), before);

        QVERIFY(apply({ router("2.1"), device(DEVICE_TYPE_PC, 2) }));
        QCOMPARE(changes.size(), 1);
        const QString id = QString::number(mapInUse()->getId());
        QCOMPARE(state(), QStringList({ id, id, id, id }));
        QCOMPARE(mapInUse()->count(), 2);
    }

    void failedChangeIsRetried_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("fault");
        QTest::addColumn<QStringList>("announced");
        const QStringList pcGone { "disconnected pc" };
        QTest::newRow("fifth failed ping") << "ping" << int(FullDisk) << pcGone;
        QTest::newRow("fifth failed ping, locked") << "ping" << int(Locked) << pcGone;
        QTest::newRow("all disconnected")
            << "all" << int(FullDisk) << QStringList { "disconnected gateway", pcGone.first() };
        QTest::newRow("lease expired") << "lease" << int(FullDisk) << QStringList { "deleted pc" };
        QTest::newRow("password") << "password" << int(FullDisk) << QStringList();
    }
    void failedChangeIsRetried()
    {
        QFETCH(QString, change);
        QFETCH(int, fault);
        QFETCH(QStringList, announced);
        const NetworkMapSharedPtr map
            = NetworkMapFactory::getInstance()->addNetworkMap(mac(1), QString(), "Home");
        const auto gateway = map->addDiscovery(router());
        const auto pc = map->addDiscovery(device(DEVICE_TYPE_PC, 2));
        QVERIFY(gateway && pc);
        VelCpeFacade cpe(gateway);
        QVERIFY(cpe.saveAuthentication(true, "admin", "old"));
        const QMap<QString, bool> pcFailed { { pc->getIpAddress(), false } };
        for (int i = 0; change == "ping" && i < 4; ++i)
            map->saveConnectionStatus(pcFailed);
        if (change == "lease") {
            pc->setIsConnected(false, true);
            QVERIFY(pc->saveDetail(
                DEVICE_PARAM_LAN_DISCONNECT_TIME,
                ConnectionRules::formatTime(QDateTime::currentDateTime().addDays(-1))));
        }
        const auto run = [&] {
            if (change == "password")
                return cpe.saveAuthentication(true, "admin", "new");
            if (change == "all")
                map->setAllDeviceConnectionStatus(false, true);
            else
                map->saveConnectionStatus(pcFailed);
            return true;
        };
        QStringList heard;
        const auto hear = [&](const char *what) {
            return [&, what](int id) {
                heard << QLatin1String(what) + (id == pc->getId() ? " pc" : " gateway");
            };
        };
        const QObject wiring;
        connect(map.get(), &NetworkMap::nwmapObjDisconnected, &wiring, hear("disconnected"));
        connect(map.get(), &NetworkMap::nwMapObjDeleted, &wiring, hear("deleted"));
        const QStringList before = devices(*map, true);
        QCOMPARE(devices(*map, false), before);
        underFault(Fault(fault), [&] { QCOMPARE(run(), change != "password"); });
        QCOMPARE(heard, QStringList());
        QCOMPARE(devices(*map, true), before);
        QCOMPARE(devices(*map, false), before);

        QVERIFY(run());
        QCOMPARE(heard, announced);
        QVERIFY(devices(*map, true) != before);
        QCOMPARE(devices(*map, true), devices(*map, false));
    }
};

ZEL_TEST_MAIN(TestUnitOfWork)
#include "tst_unitofwork.moc"
