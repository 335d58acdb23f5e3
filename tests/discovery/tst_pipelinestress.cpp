// Scanners on eight threads feed the pipeline while the application reads the map in use,
// changes configuration and names, and reports connections. Meant for ThreadSanitizer too.
// Runs ZEL_STRESS_SECONDS (default 30); then the store must equal a replay of the records,
// one at a time in the order the listener applied them, and no thread may have waited long.
#include <zelmw/discovery/DiscoveryQueueListener_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/zelmw.h>

#include "DiscoveryRecords.h"
#include "ModelReset.h"
#include "RawStore.h"
#include "TestSupport.h"

#include <QLoggingCategory>
#include <QRandomGenerator>

#include <atomic>
#include <thread>
#include <vector>

using namespace zelmw;

namespace {

QString mac(int group, int n)
{
    return QStringLiteral("02:%1:00:00:%2:%3")
        .arg(group, 2, 10, QLatin1Char('0'))
        .arg(n / 256, 2, 16, QLatin1Char('0'))
        .arg(n % 256, 2, 16, QLatin1Char('0'));
}

// One record of any kind, over 24 gateways and 300 devices.
DiscoveryType randomRecord(QRandomGenerator &random)
{
    const int n = int(random.bounded(300)), kind = int(random.bounded(100));
    if (kind < 5)
        return { { NS_DEVICE_TYPE, DEVICE_TYPE_GATEWAY },
                 { GATEWAY_PARAM_ISROUTER, "1" },
                 { DEVICE_PARAM_LAN_MACADDRESS, mac(1, n % 24) },
                 { DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("10.1.0.%1").arg(n % 24 + 1) } };
    // An access point among the devices: a known device changes its type to gateway.
    if (kind < 8)
        return { { NS_DEVICE_TYPE, DEVICE_TYPE_GATEWAY },
                 { GATEWAY_PARAM_ISROUTER, "0" },
                 { DEVICE_PARAM_LAN_MACADDRESS, mac(2, n) },
                 { DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("10.2.9.%1").arg(n % 200 + 2) } };
    if (kind < 10)
        return { { WIRELESS_CLIENT_LIST, mac(2, n) + '#' + mac(2, (n + 1) % 300) } };
    if (kind < 15)
        return { { MESH_CLIENT_LIST, mac(2, n) } };
    return { { NS_DEVICE_TYPE, n % 3 ? DEVICE_TYPE_PC : DEVICE_TYPE_UNKNOWN_DEVICE },
             { DEVICE_PARAM_LAN_MACADDRESS, mac(2, (n + kind) % 300) },
             { DEVICE_PARAM_LAN_IPADDRESS,
               QStringLiteral("10.2.%1.%2").arg(n / 200).arg(n % 200 + 2) },
             { UPNP_PARAM_FRIENDLYNAME, QStringLiteral("device %1").arg(kind) } };
}

// Every stored device as "map serial, MAC, type", in order.
QStringList storedDevices()
{
    return zeltest::RawStore().column(QStringLiteral(
        "SELECT m.Serial || ' ' || o.MacAddress || ' ' || t.Name FROM NetworkMapObjects o "
        "JOIN NetworkMaps m ON m.Id = o.NetworkMapId JOIN MapObjects t ON t.Id = o.MapObjectId "
        "ORDER BY 1"));
}

} // namespace

class TestPipelineStress : public QObject
{
    Q_OBJECT

private slots:
    void scannersAndApplicationAtOnce()
    {
        const int seconds = qEnvironmentVariableIntValue("ZEL_STRESS_SECONDS") > 0
            ? qEnvironmentVariableIntValue("ZEL_STRESS_SECONDS")
            : 30;
        // The library's own lines, one per device change, would drown the test's.
        QLoggingCategory::setFilterRules(QStringLiteral(
            "*.info=false\n*.debug=false\nMIDDLEWARE.warning=false\ndefault.info=true"));
        QList<DiscoveryType> applied;
        std::atomic<qint64> taken { 0 }; // published after each append to applied
        DiscoveryQueueListener::setRecordObserver([&applied, &taken](const DiscoveryType &record) {
            applied << record;
            ++taken;
        });
        DiscoveryHandler handler;
        handler.setListenerInterval(0);
        const qint64 before = handler.processedDiscoveryCount();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        const auto running = [&] { return std::chrono::steady_clock::now() < deadline; };
        std::atomic<qint64> offered { 0 }, reads { 0 };
        std::vector<std::thread> threads;
        for (int scanner = 0; scanner < 8; ++scanner) {
            threads.emplace_back([&, scanner] {
                QRandomGenerator random { quint32(scanner) };
                for (; running(); ++offered) {
                    handler.addDiscovery(randomRecord(random));
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                }
            });
        }
        const auto inUse = [] { return InUseMapController::getInstance()->getInUseNetworkMap(); };
        threads.emplace_back([&] {
            while (running()) {
                if (const NetworkMapSharedPtr map = inUse()) {
                    for (const auto &device : map->getNwMapObjectList())
                        reads += NetworkDeviceFacade(device).getUpnpModelName().size()
                            + device->getDetailNameValueMap().value(UPNP_PARAM_FRIENDLYNAME).size();
                }
            }
        });
        threads.emplace_back([&] {
            for (int i = 0; running(); ++i) {
                ConfigDataFactory::getInstance()->saveConfigData(
                    QStringLiteral("stress.%1").arg(i % 10), QString::number(i));
                if (const NetworkMapSharedPtr map = inUse()) {
                    if (const auto device = map->getNwMapObject(mac(2, i % 300).toUpper()))
                        device->setUserDefinedName(QStringLiteral("name %1").arg(i));
                }
            }
        });
        threads.emplace_back([&] {
            for (int i = 0; running(); ++i) {
                if (const NetworkMapSharedPtr map = inUse())
                    map->saveConnectionStatus(
                        { { QStringLiteral("10.2.0.%1").arg(i % 200 + 2), i % 7 != 0 } });
            }
        });
        for (std::thread &thread : threads)
            thread.join();
        // The queue empty and the record taken last finished too.
        QVERIFY(QTest::qWaitFor(
            [&] {
                return handler.pendingDiscoveryCount() == 0
                    && handler.processedDiscoveryCount() - before == taken;
            },
            600000));
        const qint64 processed = handler.processedDiscoveryCount() - before;
        const auto longestWait = ModelLock::longestWait();
        DiscoveryQueueListener::setRecordObserver({});
        QCOMPARE(qint64(applied.size()), processed);

        const QStringList stored = storedDevices();
        QVERIFY(!stored.isEmpty());
        QCOMPARE(stored.size(), QSet<QString>(stored.begin(), stored.end()).size());
        QVERIFY(zeltest::RawStore()
                    .column(QStringLiteral(
                        "SELECT Serial FROM NetworkMaps GROUP BY Serial HAVING count(*) > 1"))
                    .isEmpty());

        // The same records, one thread, nothing else running.
        QVERIFY(zeltest::resetModel());
        QElapsedTimer replay;
        replay.start();
        for (int start = 0; start < applied.size(); start += 1000)
            QVERIFY(zeltest::apply(applied.mid(start, 1000), 600000));
        QCOMPARE(storedDevices(), stored);
        qInfo("replayed in %lld ms", replay.elapsed());
        qInfo("%lld records offered by 8 threads in %d s, %lld refused by the queue bound, %lld "
              "applied; %lld devices stored; longest wait for the model lock %lld ms",
              qint64(offered), seconds, qint64(offered) - processed, processed,
              qint64(stored.size()), qint64(longestWait.count() / 1000));
        QVERIFY(longestWait < std::chrono::seconds(1));
    }
};

ZEL_TEST_MAIN(TestPipelineStress)
#include "tst_pipelinestress.moc"
