#include "LogCapture.h"
#include "TestSupport.h"

#include <zelmw/discovery/DiscoveryQueueListener_p.h>
#include <zelmw/discovery/DiscoveryQueue_p.h>
#include <zelmw/networkmap/ModelLock_p.h>
#include <zelmw/zelmw.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>
#include <thread>

using namespace zelmw;

namespace {

QString mac(int n)
{
    return QStringLiteral("aa:bb:cc:00:00:%1").arg(n, 2, 10, QLatin1Char('0'));
}

DiscoveryType device(const QString &kind, int n, DiscoveryType record = {})
{
    record.insert(NS_DEVICE_TYPE, kind);
    record.insert(DEVICE_PARAM_LAN_MACADDRESS, mac(n));
    record.insert(DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("192.168.1.%1").arg(n));
    return record;
}

DiscoveryType router()
{
    return device(DEVICE_TYPE_GATEWAY, 1,
                  { { GATEWAY_PARAM_ISROUTER, BOOL_TRUE_VALUE },
                    { UPNP_PARAM_SERIALNUMBER, QStringLiteral("SN1") } });
}

NetworkMapSharedPtr mapInUse()
{
    return InUseMapController::getInstance()->getInUseNetworkMap();
}

// The map in use, its devices and their facades.
QString report()
{
    const NetworkMapSharedPtr map = mapInUse();
    QStringList lines { map->getName(), GatewayFacade(map->getMasterDevice()).getUpnpSerialNumber(),
                        LocalZelFacade(map->getLocalZel()).getLocalZelNic() };
    for (const auto &object : map->getNwMapObjectList())
        lines << object->getMacAddress() + QLatin1Char(' ') + object->getTypeName()
                + object->getDetailValue(DEVICE_PARAM_LAN_CONNECTION_ISWIRELESS, QString());
    return lines.join(QLatin1Char('\n'));
}

// What the pipeline itself logged, leaving out the map's own lines.
QStringList discoveryMessages(const zeltest::LogCapture &log)
{
    return log.messages().filter(QRegularExpression(QStringLiteral("^(Discovery|MeshClients)")));
}

bool waitProcessed(qint64 count)
{
    return QTest::qWaitFor([=] { return DiscoveryHandler().processedDiscoveryCount() >= count; });
}

// The children: this program run again with a mode argument.
int runChildMode(const QString &mode)
{
    DiscoveryHandler handler;
    handler.setListenerInterval(0);
    for (int i = 0; mode == QLatin1String("start-stop") && i < 300; ++i) {
        DiscoveryQueueListener listener(boost::shared_ptr<DiscoveryQueue>(new DiscoveryQueue));
        listener.startListening();
        listener.stopListening();
    }
    if (mode == QLatin1String("burst")) {
        std::thread([&handler] {
            handler.addDiscovery(router());
            for (int i = 0; i < 300; ++i)
                handler.addDiscovery(device(DEVICE_TYPE_PC, 2 + i % 50));
        }).join();
        QThread::msleep(QRandomGenerator::global()->bounded(40));
    }
    return 0;
}

// The child's exit code, or -1 when it crashed or the watchdog had to kill it.
int runChild(const QString &mode, const QString &dataHome)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--child"), mode });
    if (!child.waitForFinished(20000))
        child.kill();
    child.waitForFinished();
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
}

} // namespace

class TestDiscoveryHandler : public QObject
{
    Q_OBJECT

private slots:
    // Records before any gateway: dropped without a word, one per default interval.
    void defaultIntervalSpacing()
    {
        const zeltest::LogCapture log(LOGGER_NAME);
        DiscoveryHandler handler;
        for (int n = 2; n < 5; ++n)
            handler.addDiscovery(device(DEVICE_TYPE_PC, n));
        QVERIFY(waitProcessed(1));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(waitProcessed(3));
        QVERIFY2(qAbs(clock.elapsed() - 1000) < 150, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!mapInUse());
        QVERIFY(discoveryMessages(log).isEmpty());
        handler.setListenerInterval(0);
    }

    void homeScan()
    {
        const zeltest::LogCapture log(LOGGER_NAME);
        QTest::ignoreMessage(QtWarningMsg,
                             "GatewayDiscoverStrategy::handleDiscovery - discovery "
                             "contains invalid mac address");
        DiscoveryHandler handler;
        int received = 0, deleted = 0;
        QList<QMetaObject::Connection> wires;
        // Wired on the listener thread as the map comes into use, before its first device.
        wires << connect(
            InUseMapController::getInstance().get(), &InUseMapController::inUseMapChanged,
            [&](const NetworkMapSharedPtr &map) {
                wires << connect(
                    map.get(), &NetworkMap::nwMapObjCreated, map.get(),
                    [&] { QVERIFY(QThread::currentThread() != thread()); }, Qt::DirectConnection);
                wires << connect(map.get(), &NetworkMap::nwMapObjCreated, this, [&] {
                    QCOMPARE(QThread::currentThread(), thread());
                    ++received;
                });
                wires << connect(map.get(), &NetworkMap::nwMapObjDeleted, this, [&] { ++deleted; });
            });
        const qint64 before = handler.processedDiscoveryCount();
        DiscoveryType invalidGateway = router();
        invalidGateway.insert(DEVICE_PARAM_LAN_MACADDRESS, QStringLiteral("00-00-00-00-00-00"));
        const QList<DiscoveryType> scan {
            router(),
            device(DEVICE_TYPE_PC, 2,
                   { { PC_PARAM_ISLOCALZEL, BOOL_TRUE_VALUE },
                     { PC_PARAM_LOCALZEL_NIC, QStringLiteral("{GUID}") },
                     { MESH_CLIENT_LIST, mac(2) } }),
            device(DEVICE_TYPE_PC, 3),
            device(DEVICE_TYPE_UNKNOWN_DEVICE, 4),
            device(DEVICE_TYPE_UNKNOWN_DEVICE, 5),
            device(DEVICE_TYPE_PC, 5),
            invalidGateway,
            device(DEVICE_TYPE_PRINTER, 6),
            device(QString(), 7),
            DiscoveryType(),
            { { DEVICE_PARAM_NAME, QStringLiteral("no kind") } },
            { { WIRELESS_CLIENT_LIST, mac(3) + QLatin1Char('#') + mac(4) } },
            { { MESH_CLIENT_LIST, QString() } },
        };
        std::thread([&] {
            for (const DiscoveryType &record : scan)
                handler.addDiscovery(record);
        }).join();
        QVERIFY(waitProcessed(before + scan.size() - 1));
        QTRY_COMPARE(received, 6);
        for (const QMetaObject::Connection &wire : qAsConst(wires))
            disconnect(wire);
        QCOMPARE(deleted, 1);
        QCOMPARE(report(),
                 QStringLiteral("Velmora Home Network\nSN1\n{GUID}\n"
                                "AA:BB:CC:00:00:01 GATEWAY\nAA:BB:CC:00:00:02 PC\n"
                                "AA:BB:CC:00:00:03 PC1\nAA:BB:CC:00:00:04 UNKNOWN_DEVICE1\n"
                                "AA:BB:CC:00:00:05 PC"));
        QCOMPARE(
            discoveryMessages(log).join(QLatin1Char('\n')),
            QStringLiteral("DiscoveryQueueListener::Implementation - handleNetworkScanDiscovery: "
                           "handler not found for PRINTER\n"
                           "DiscoveryQueueListener::Implementation - handleNetworkScanDiscovery: "
                           "deviceType is empty\n"
                           "MeshClientsStrategy - handleDiscovery: MESH_CLIENT_LIST is empty"));
    }

    // A full queue refuses without waiting and keeps what it holds; a clear empties it.
    void boundAndClearWhileListenerBlocked()
    {
        const zeltest::LogCapture log(LOGGER_NAME);
        DiscoveryHandler handler;
        const qint64 before = handler.processedDiscoveryCount();
        {
            const ModelLock lock;
            std::thread([&] {
                for (int i = 0; i < DiscoveryQueue::MAX_RECORDS + 5; ++i)
                    handler.addDiscovery({ { DEVICE_PARAM_NAME, QString::number(i) } });
            }).join();
            QCOMPARE(handler.pendingDiscoveryCount(), DiscoveryQueue::MAX_RECORDS);
            handler.clearDiscoveryQueue();
            // Records near the size bound fill the queue's memory long before its count.
            DiscoveryType large;
            for (int key = 0; key < 16; ++key)
                large.insert(QString::number(key), QString(65000, QLatin1Char('x')));
            for (int i = 0; i < 40; ++i)
                handler.addDiscovery(large);
            QVERIFY(handler.pendingDiscoveryCount() < 40);
            handler.clearDiscoveryQueue();
            handler.addDiscovery({ { DEVICE_PARAM_NAME, QStringLiteral("after") } });
        }
        QTRY_COMPARE(handler.pendingDiscoveryCount(), 0);
        QVERIFY(waitProcessed(before + 1) && handler.processedDiscoveryCount() <= before + 2);
        const QStringList messages = discoveryMessages(log);
        // Refusals start and stop in turn, by count and then by size; the listener may take
        // one record before it blocks, which makes one more turn.
        QVERIFY(messages.size() >= 4 && messages.size() % 2 == 0);
        for (int i = 0; i < messages.size(); ++i) {
            QVERIFY(messages[i].startsWith(
                i % 2 ? QLatin1String("DiscoveryQueue::enqueue - queue accepts records again")
                      : QLatin1String("DiscoveryQueue::enqueue - queue full")));
        }
    }

    void exceptionAbandonsOnlyItsRecordInStoreAndMemory()
    {
        const zeltest::LogCapture log(LOGGER_NAME);
        DiscoveryHandler handler;
        const NetworkMapSharedPtr map = mapInUse();
        const QMetaObject::Connection thrower = connect(
            map.get(), &NetworkMap::nwMapObjCreated, [] { throw std::runtime_error("bad luck"); });
        const qint64 before = handler.processedDiscoveryCount();
        handler.addDiscovery(device(DEVICE_TYPE_PC, 10));
        QVERIFY(waitProcessed(before + 1));
        // Gone from memory with the store too, or its id would be handed out twice.
        QVERIFY(!map->getNwMapObject(mac(10).toUpper()));
        disconnect(thrower);
        handler.addDiscovery(device(DEVICE_TYPE_PC, 11));
        QVERIFY(waitProcessed(before + 2));
        QCOMPARE(discoveryMessages(log),
                 QStringList(QStringLiteral(
                     "DiscoveryQueueListener::onTimeOut - record abandoned: bad luck")));
        QVERIFY(map->getNwMapObject(mac(11).toUpper()));
    }

    void processesEndWhileTheListenerWorks()
    {
        // Processes that end while their listener is busy end cleanly.
        QTemporaryDir dataHome;
        QCOMPARE(runChild(QStringLiteral("start-stop"), dataHome.path()), 0);
        for (int run = 0; run < 50; ++run)
            QCOMPARE(runChild(QStringLiteral("burst"), dataHome.path()), 0);
    }

    // Last: the listener stops for good.
    void stopUnderModelLockThenForGood()
    {
        const zeltest::LogCapture log(LOGGER_NAME);
        DiscoveryHandler handler;
        {
            const ModelLock lock;
            handler.stopQueueListener(); // returns at once, or the test hangs
        }
        QCOMPARE(log.lines().size(), 1);
        handler.stopQueueListener();
        const qint64 processed = handler.processedDiscoveryCount();
        DiscoveryHandler().addDiscovery(device(DEVICE_TYPE_PC, 12));
        QTest::qWait(100);
        QCOMPARE(handler.processedDiscoveryCount(), processed);
        QCOMPARE(handler.pendingDiscoveryCount(), 1);
    }
};

int main(int argc, char **argv)
{
    zeltest::isolateDataLocation();
    zeltest::failOnSqlMisuse();
    QCoreApplication application(argc, argv);
    if (argc > 2 && qstrcmp(argv[1], "--child") == 0)
        return runChildMode(QString::fromLatin1(argv[2]));
    TestDiscoveryHandler test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_discoveryhandler.moc"
