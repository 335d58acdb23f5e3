#include "LogCapture.h"
#include "TestSupport.h"

#include <zelmw/discovery/DiscoveryQueueListener_p.h>
#include <zelmw/discovery/DiscoveryQueue_p.h>
#include <zelmw/facades/GatewayFacade.h>
#include <zelmw/facades/LocalZelFacade.h>
#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/ModelLock_p.h>
#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/persistence/ZelDbConnection.h>
#include <zelmw/zelmw.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <stdexcept>
#include <thread>
#include <unistd.h>

using namespace zelmw;

namespace {

const QString GUID = QStringLiteral("{4D36E972-E325-11CE-BFC1-08002BE10318}");

QString mac(int n)
{
    return QStringLiteral("aa:bb:cc:00:00:%1").arg(n, 2, 10, QLatin1Char('0'));
}

DiscoveryType device(const QString &kind, int n, const DiscoveryType &extra = {})
{
    DiscoveryType record = extra;
    record.insert(NS_DEVICE_TYPE, kind);
    record.insert(DEVICE_PARAM_LAN_MACADDRESS, mac(n));
    record.insert(DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("192.168.1.%1").arg(n));
    record.insert(DEVICE_PARAM_NAME, QStringLiteral("device %1").arg(n));
    return record;
}

DiscoveryType router(int n)
{
    return device(DEVICE_TYPE_GATEWAY, n,
                  { { GATEWAY_PARAM_ISROUTER, BOOL_TRUE_VALUE },
                    { UPNP_PARAM_SERIALNUMBER, QStringLiteral("SN%1").arg(n) } });
}

NetworkMapSharedPtr mapInUse()
{
    return InUseMapController::getInstance()->getInUseNetworkMap();
}

// What another process must find again: the map in use, its devices and their facades.
QString report()
{
    const NetworkMapSharedPtr map = mapInUse();
    if (!map)
        return QStringLiteral("no map");
    QStringList lines { map->getName(), GatewayFacade(map->getMasterDevice()).getUpnpSerialNumber(),
                        LocalZelFacade(map->getLocalZel()).getLocalZelNic() };
    for (const auto &object : map->getNwMapObjectList())
        lines << object->getMacAddress() + QLatin1Char(' ') + object->getTypeName()
                + QLatin1Char(' ')
                + object->getDetailValue(DEVICE_PARAM_LAN_CONNECTION_ISWIRELESS, QString());
    return lines.join(QLatin1Char('\n'));
}

// What the pipeline itself logged, leaving out the map's own lines.
QStringList discoveryMessages(const zeltest::LogCapture &log)
{
    return log.messages().filter(
        QRegularExpression(QStringLiteral("^(Discovery|MeshClients|WirelessClients)")));
}

bool waitProcessed(qint64 count)
{
    return QTest::qWaitFor([=] { return DiscoveryHandler().processedDiscoveryCount() >= count; },
                           10000);
}

// The children: re-executions of this program with a mode argument.
int runChildMode(const QString &mode)
{
    DiscoveryHandler handler;
    handler.setListenerInterval(0);
    if (mode == QLatin1String("report")) {
        std::fputs(qPrintable(report()), stdout);
    } else if (mode == QLatin1String("start-stop")) {
        const boost::shared_ptr<DiscoveryQueue> queue(new DiscoveryQueue);
        for (int i = 0; i < 300; ++i) {
            DiscoveryQueueListener listener(queue);
            listener.startListening();
            listener.stopListening();
        }
    } else if (mode == QLatin1String("burst")) {
        std::thread scanner([&handler] {
            handler.addDiscovery(router(1));
            for (int i = 0; i < 300; ++i)
                handler.addDiscovery(device(DEVICE_TYPE_PC, 2 + i % 50));
        });
        scanner.join();
        QThread::msleep(QRandomGenerator::global()->bounded(40));
    } else if (mode == QLatin1String("kill")) {
        QObject::connect(InUseMapController::getInstance().get(),
                         &InUseMapController::inUseMapChanged, [](const NetworkMapSharedPtr &map) {
                             QObject::connect(map.get(), &NetworkMap::nwMapObjCreated,
                                              [](int, bool master) {
                                                  if (!master)
                                                      _exit(3);
                                              });
                         });
        handler.addDiscovery(router(1));
        handler.addDiscovery(device(DEVICE_TYPE_PC, 2));
        QThread::sleep(10);
    }
    return 0;
}

QProcess *startChild(const QString &mode, const QString &dataHome)
{
    auto *child = new QProcess;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    child->setProcessEnvironment(environment);
    child->start(QCoreApplication::applicationFilePath(), { QStringLiteral("--child"), mode });
    return child;
}

// Exit code of a child run, or -1 when it did not end within the watchdog's time.
int runChild(const QString &mode, const QString &dataHome, QByteArray *output = nullptr)
{
    QScopedPointer<QProcess> child(startChild(mode, dataHome));
    if (!child->waitForFinished(20000)) {
        child->kill();
        child->waitForFinished();
        return -1;
    }
    if (output)
        *output = child->readAllStandardOutput();
    return child->exitStatus() == QProcess::NormalExit ? child->exitCode() : -2;
}

} // namespace

class TestDiscoveryHandler : public QObject
{
    Q_OBJECT

private:
    QString m_dataHome;

private slots:
    void initTestCase()
    {
        m_dataHome = zeltest::isolateDataLocation();
        zeltest::failOnSqlMisuse();
        DiscoveryHandler();
    }

    // Records before any gateway: dropped without a word, one per default interval.
    void defaultIntervalSpacing()
    {
        const zeltest::LogCapture log(LOGGER_NAME);
        DiscoveryHandler handler;
        const qint64 before = handler.processedDiscoveryCount();
        for (int n = 2; n < 5; ++n)
            handler.addDiscovery(device(DEVICE_TYPE_PC, n));
        QList<qint64> times;
        QElapsedTimer clock;
        clock.start();
        while (times.size() < 3 && clock.elapsed() < 5000) {
            if (handler.processedDiscoveryCount() > before + times.size())
                times << clock.elapsed();
            QThread::msleep(2);
        }
        QCOMPARE(times.size(), 3);
        for (int i = 1; i < 3; ++i)
            QVERIFY2(times[i] - times[i - 1] >= 450 && times[i] - times[i - 1] < 900,
                     qPrintable(QString::number(times[i] - times[i - 1])));
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
        QList<int> created, onListener;
        QStringList macs;
        int deleted = 0;
        QList<QMetaObject::Connection> wires;
        // Wired on the listener thread as the map comes into use, before its first device.
        const QMetaObject::Connection switched = connect(
            InUseMapController::getInstance().get(), &InUseMapController::inUseMapChanged,
            [&](const NetworkMapSharedPtr &map) {
                wires << connect(
                    map.get(), &NetworkMap::nwMapObjCreated, map.get(),
                    [&, map](int id) {
                        onListener << id;
                        macs << map->getNwMapObject(id)->getMacAddress();
                    },
                    Qt::DirectConnection);
                wires << connect(map.get(), &NetworkMap::nwMapObjCreated, this, [&](int id) {
                    QCOMPARE(QThread::currentThread(), thread());
                    created << id;
                });
                wires << connect(map.get(), &NetworkMap::nwMapObjDeleted, this, [&] { ++deleted; });
            });
        const qint64 before = handler.processedDiscoveryCount();
        DiscoveryType invalidGateway = router(9);
        invalidGateway.insert(DEVICE_PARAM_LAN_MACADDRESS, QStringLiteral("00-00-00-00-00-00"));
        const QList<DiscoveryType> scan {
            router(1),
            device(DEVICE_TYPE_PC, 2,
                   { { PC_PARAM_ISLOCALZEL, BOOL_TRUE_VALUE },
                     { PC_PARAM_LOCALZEL_NIC, GUID },
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
        QTRY_COMPARE(created.size(), 6);
        QCOMPARE(created, onListener);
        QStringList expected;
        for (int n : { 1, 2, 3, 4, 5, 5 })
            expected << mac(n).toUpper();
        QCOMPARE(macs, expected);
        QCOMPARE(deleted, 1);
        for (const QMetaObject::Connection &wire : wires << switched)
            disconnect(wire);
        QCOMPARE(report().split(QLatin1Char('\n')),
                 QStringList({ QStringLiteral("Velmora Home Network"), QStringLiteral("SN1"), GUID,
                               mac(1).toUpper() + QStringLiteral(" GATEWAY "),
                               mac(2).toUpper() + QStringLiteral(" PC "),
                               mac(3).toUpper() + QStringLiteral(" PC 1"),
                               mac(4).toUpper() + QStringLiteral(" UNKNOWN_DEVICE 1"),
                               mac(5).toUpper() + QStringLiteral(" PC ") }));
        const QString prefix = QStringLiteral("DiscoveryQueueListener::Implementation - "
                                              "handleNetworkScanDiscovery: ");
        QCOMPARE(discoveryMessages(log),
                 QStringList({ prefix + QStringLiteral("handler not found for PRINTER"),
                               prefix + QStringLiteral("deviceType is empty"),
                               QStringLiteral("MeshClientsStrategy - handleDiscovery: "
                                              "MESH_CLIENT_LIST is empty") }));

        // Another process finds the same map, devices and facades.
        QByteArray output;
        QCOMPARE(runChild(QStringLiteral("report"), m_dataHome, &output), 0);
        QCOMPARE(QString::fromUtf8(output), report());
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
            QCOMPARE(handler.pendingDiscoveryCount(), 0);
            handler.addDiscovery({ { DEVICE_PARAM_NAME,
                                     QString(DiscoveryQueue::MAX_BYTES / 2, QLatin1Char('x')) } });
            QCOMPARE(handler.pendingDiscoveryCount(), 0);
            handler.addDiscovery({ { DEVICE_PARAM_NAME, QStringLiteral("after") } });
        }
        QVERIFY(waitProcessed(before + 1));
        QTRY_COMPARE(handler.pendingDiscoveryCount(), 0);
        QVERIFY(handler.processedDiscoveryCount() <= before + 2);
        const QStringList messages = discoveryMessages(log);
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages[0].startsWith(QLatin1String("DiscoveryQueue::enqueue - queue full")));
        QVERIFY(QRegularExpression(QStringLiteral("accepts records again, refused: [56]$"))
                    .match(messages[1])
                    .hasMatch());
    }

    void exceptionAbandonsOnlyItsRecord()
    {
        const zeltest::LogCapture log(LOGGER_NAME);
        DiscoveryHandler handler;
        const NetworkMapSharedPtr map = mapInUse();
        const QMetaObject::Connection thrower = connect(
            map.get(), &NetworkMap::nwMapObjCreated, map.get(),
            [] { throw std::runtime_error("out of luck"); }, Qt::DirectConnection);
        const qint64 before = handler.processedDiscoveryCount();
        handler.addDiscovery(device(DEVICE_TYPE_PC, 10));
        QVERIFY(waitProcessed(before + 1));
        disconnect(thrower);
        handler.addDiscovery(device(DEVICE_TYPE_PC, 11));
        QVERIFY(waitProcessed(before + 2));
        QCOMPARE(discoveryMessages(log),
                 QStringList(QStringLiteral(
                     "DiscoveryQueueListener::onTimeOut - record abandoned: out of luck")));
        QVERIFY(map->getNwMapObject(mac(11).toUpper()));
    }

    void childProcesses()
    {
        QTemporaryDir dataHome;
        QCOMPARE(runChild(QStringLiteral("start-stop"), dataHome.path()), 0);
        for (int run = 0; run < 50; ++run)
            QCOMPARE(runChild(QStringLiteral("burst"), dataHome.path()), 0);

        // Killed in the middle of the local PC's record: the store holds none of it.
        QTemporaryDir killed;
        QCOMPARE(runChild(QStringLiteral("kill"), killed.path()), 3);
        QByteArray output;
        QCOMPARE(runChild(QStringLiteral("report"), killed.path(), &output), 0);
        QCOMPARE(output.split('\n').mid(3),
                 QList<QByteArray>({ mac(1).toUpper().toLatin1() + " GATEWAY " }));
        {
            QSqlDatabase store
                = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("killed"));
            store.setDatabaseName(ZelDbConnection().getDbPath().replace(m_dataHome, killed.path()));
            QVERIFY(store.open());
            QSqlQuery orphans(QStringLiteral("SELECT COUNT(*) FROM NetworkMapObjectDetails WHERE "
                                             "NetworkMapObjectId NOT IN (SELECT Id FROM "
                                             "NetworkMapObjects)"),
                              store);
            QVERIFY(orphans.next());
            QCOMPARE(orphans.value(0).toInt(), 0);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("killed"));
    }

    // Last: the listener stops for good.
    void stopUnderModelLockThenForGood()
    {
        const zeltest::LogCapture log(LOGGER_NAME);
        DiscoveryHandler handler;
        {
            const ModelLock lock;
            QElapsedTimer clock;
            clock.start();
            handler.stopQueueListener();
            QVERIFY(clock.elapsed() < 100);
        }
        QCOMPARE(log.lines().size(), 1);
        QCOMPARE(log.lines().first().type, QtCriticalMsg);
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
    QCoreApplication application(argc, argv);
    if (argc > 2 && qstrcmp(argv[1], "--child") == 0)
        return runChildMode(QString::fromLatin1(argv[2]));
    TestDiscoveryHandler test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_discoveryhandler.moc"
