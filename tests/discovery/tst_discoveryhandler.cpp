#include "DiscoveryRecords.h"
#include "LogCapture.h"
#include "TestSupport.h"

#include <zelmw/discovery/DiscoveryQueueListener_p.h>
#include <zelmw/discovery/DiscoveryQueue_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/zelmw.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <stdexcept>
#include <thread>

using namespace zelmw;
using namespace zeltest;

namespace {

// The devices of the map in use as "MAC type", with a 1 for a wireless one.
QStringList devicesInUse()
{
    QStringList lines;
    for (const auto &object : mapInUse()->getNwMapObjectList())
        lines << object->getMacAddress() + QLatin1Char(' ') + object->getTypeName()
                + object->getDetailValue(DEVICE_PARAM_LAN_CONNECTION_ISWIRELESS, QString());
    return lines;
}

// What the pipeline itself logged, leaving out the map's own lines.
QStringList discoveryMessages(const zeltest::LogCapture &log)
{
    return log.messages().filter(QRegularExpression(QStringLiteral("^(Discovery|MeshClients)")));
}

// The child, this program run again with its own store: a burst of records, then the end of
// the process while the listener works on them.
int childMain()
{
    DiscoveryHandler handler;
    handler.setListenerInterval(0);
    handler.addDiscovery(router());
    for (int i = 0; i < 300; ++i)
        handler.addDiscovery(device(DEVICE_TYPE_PC, 2 + i % 50));
    QThread::msleep(QRandomGenerator::global()->bounded(40));
    return 0;
}

} // namespace

class TestDiscoveryHandler : public QObject
{
    Q_OBJECT

private slots:
    // Records of every kind. Those before any gateway are dropped without a word. That a
    // receiver wired to the map as it comes into use hears of every device, the failure
    // sweep's listener checks.
    void homeScan()
    {
        const zeltest::LogCapture log(LOGGER_NAME);
        QTest::ignoreMessage(QtWarningMsg,
                             "GatewayDiscoverStrategy::handleDiscovery - discovery "
                             "contains invalid mac address");
        DiscoveryHandler handler;
        handler.setListenerInterval(0);
        const qint64 before = handler.processedDiscoveryCount();
        for (int n = 2; n < 5; ++n)
            handler.addDiscovery(device(DEVICE_TYPE_PC, n));
        DiscoveryType invalidGateway = router();
        invalidGateway.insert(DEVICE_PARAM_LAN_MACADDRESS, QStringLiteral("00-00-00-00-00-00"));
        // A device record routes by its kind, whatever list it also carries.
        const QList<DiscoveryType> scan {
            router(),
            device(DEVICE_TYPE_PC, 2, { { MESH_CLIENT_LIST, mac(2) } }),
            device(DEVICE_TYPE_PC, 3),
            device(DEVICE_TYPE_UNKNOWN_DEVICE, 4),
            invalidGateway,
            device(DEVICE_TYPE_PRINTER, 6),
            device(QString(), 7),
            DiscoveryType(),
            { { WIRELESS_CLIENT_LIST, mac(3) + QLatin1Char('#') + mac(4) } },
            { { MESH_CLIENT_LIST, QString() } },
        };
        for (const DiscoveryType &record : scan)
            handler.addDiscovery(record);
        QVERIFY(waitProcessed(before + 3 + scan.size() - 1));
        QCOMPARE(devicesInUse(),
                 QStringList({ "AA:BB:CC:00:00:01 GATEWAY", "AA:BB:CC:00:00:02 PC",
                               "AA:BB:CC:00:00:03 PC1", "AA:BB:CC:00:00:04 UNKNOWN_DEVICE1" }));
        // One warning each for the printer, the empty kind and the empty mesh list.
        QCOMPARE(discoveryMessages(log).size(), 3);
    }

    // An exception while a record is applied abandons that record whole, with one line, and
    // the listener goes on with the next.
    void anExceptionAbandonsTheRecordAndTheListenerGoesOn()
    {
        const zeltest::LogCapture log(LOGGER_NAME);
        const NetworkMapSharedPtr map = mapInUse();
        DiscoveryQueueListener::setRecordObserver([](const DiscoveryType &record) {
            if (record.value(DEVICE_PARAM_LAN_MACADDRESS) == mac(10))
                throw std::runtime_error("bad luck");
        });
        const bool applied = apply({ device(DEVICE_TYPE_PC, 10), device(DEVICE_TYPE_PC, 11) });
        DiscoveryQueueListener::setRecordObserver({});
        QVERIFY(applied);
        QCOMPARE(discoveryMessages(log),
                 QStringList(QStringLiteral(
                     "DiscoveryQueueListener::onTimeOut - record abandoned: bad luck")));
        QVERIFY(!map->getNwMapObject(mac(10).toUpper()));
        QVERIFY(map->getNwMapObject(mac(11).toUpper()));
    }

    // A stop right after a start is not lost; processes that end while their listener is
    // busy end cleanly (-1 for a crash). A hang meets the test function's watchdog.
    void listenersAndProcessesEndWhileTheyWork()
    {
        for (int i = 0; i < 300; ++i) {
            DiscoveryQueueListener listener(boost::shared_ptr<DiscoveryQueue>(new DiscoveryQueue));
            listener.startListening();
            listener.stopListening();
        }
        for (int run = 0; run < 50; ++run)
            QCOMPARE(QProcess::execute(QCoreApplication::applicationFilePath(), { "--child" }), 0);
    }

    // Last, as the listener stops for good. A full queue refuses without waiting and keeps
    // what it holds, a clear empties it; a stop under the model lock returns at once, and the
    // listener ends after the record in hand.
    void boundClearAndStopWhileListenerBlocked()
    {
        const zeltest::LogCapture log(LOGGER_NAME);
        DiscoveryHandler handler;
        const qint64 before = handler.processedDiscoveryCount();
        {
            const ModelLock lock;
            // The listener takes this one and waits for the lock with it.
            handler.addDiscovery(device(DEVICE_TYPE_PC, 12));
            QTRY_COMPARE(handler.pendingDiscoveryCount(), 0);
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
            handler.addDiscovery(device(DEVICE_TYPE_PC, 13));
            handler.stopQueueListener(); // returns at once, or the test hangs
        }
        handler.stopQueueListener();
        QCOMPARE(handler.processedDiscoveryCount(), before + 1);
        QCOMPARE(handler.pendingDiscoveryCount(), 1);
        const QStringList messages = discoveryMessages(log);
        QCOMPARE(messages.size(), 5);
        QVERIFY(messages[0].startsWith(QLatin1String("DiscoveryQueue::enqueue - queue full")));
        QVERIFY(messages[1].endsWith(QLatin1String("again, refused: 5")));
        QVERIFY(messages[2].startsWith(QLatin1String("DiscoveryQueue::enqueue - queue full")));
        QVERIFY(messages[3].contains(QLatin1String("again, refused: ")));
        QVERIFY(messages[4].startsWith(QLatin1String("DiscoveryQueueListener::stopListening")));
    }
};

int main(int argc, char **argv)
{
    zeltest::isolateDataLocation();
    zeltest::failOnSqlMisuse();
    QCoreApplication application(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0)
        return childMain();
    TestDiscoveryHandler test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_discoveryhandler.moc"
