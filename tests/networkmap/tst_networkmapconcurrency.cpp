#include <zelmw/facades/VelCpeFacade.h>
#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include "NetworkMapStore.h"
#include "TestSupport.h"

#include <QtTest>

#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <thread>

using namespace zelmw;

using DevicePtr = boost::shared_ptr<NetworkMapObject>;

// The discovery thread changes devices while the application's thread reads them, directly
// and through the facades. Meant to be run under ThreadSanitizer too.
class TestNetworkMapConcurrency : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { NetworkMapStore::reset(); }

    void readersSeeWholeChangesWhileDetailsAreSavedAndDeleted()
    {
        const DevicePtr device = NetworkMapStore::device(DEVICE_TYPE_GATEWAY);
        std::atomic_int mismatches { 0 };
        // Runs on the changing thread and asks back while the change is being reported.
        connect(
            device.get(), &NetworkMapObject::detailChanged, device.get(),
            [&](const QString &name, const QString &value) {
                if (device->getDetailValue(name, QString()) != value)
                    ++mismatches;
            },
            Qt::DirectConnection);

        const int rounds = 300;
        std::atomic_bool done { false };
        std::thread writer([&] {
            for (int i = 0; i < rounds; ++i) {
                device->saveDetail(QString("P%1").arg(i % 7), QString::number(i));
                if (i % 3 == 0)
                    device->deleteDetail(QString("P%1").arg((i + 2) % 7));
                if (i % 40 == 0)
                    device->deleteDetails();
                device->setIsConnected(i % 2 == 0, true);
                device->setName(QString("name%1").arg(i));
                device->saveData();
                if (i % 10 == 0)
                    VelCpeFacade(device).saveAuthentication(i % 20 == 0, "admin", "secret");
            }
            done = true;
        });

        int reads = 0;
        std::thread reader([&] {
            QList<boost::shared_ptr<NetworkMapObjectDetail>> held;
            const VelCpeFacade cpe(device);
            while (!done) {
                ++reads;
                const QMap<QString, QString> values = device->getDetailNameValueMap();
                for (auto value = values.cbegin(); value != values.cend(); ++value) {
                    bool isNumber = false;
                    value.value().toInt(&isNumber);
                    if (value.key().startsWith('P') && !isNumber)
                        ++mismatches;
                }
                for (const auto &detail : device->getDetailList())
                    held << detail;
                device->getIpAddress();
                device->getMacAddressList();
                device->getConnectionType();
                device->getName();
                device->getDisconnectTime();
                cpe.getUserName();
                cpe.isAuthenticated();
                cpe.getWebUiUrl();
                if (held.size() > 50)
                    held.clear();
            }
        });

        // Two threads ask the repository for the same uncached device.
        DevicePtr first;
        std::thread other([&] {
            first = NetworkMapObjectFactory::getInstance()->getNetworkMapObject(device->getId());
        });
        const DevicePtr second
            = NetworkMapObjectFactory::getInstance()->getNetworkMapObject(device->getId());
        other.join();
        QVERIFY(second && first == second);

        writer.join();
        reader.join();
        QCOMPARE(mismatches.load(), 0);
        QVERIFY(reads > 0);
        QCOMPARE(device->getName(), QString("name%1").arg(rounds - 1));
        QVERIFY(device->hasDetail(QString("P%1").arg((rounds - 1) % 7)));

        // Memory and store agree.
        const DevicePtr reloaded = NetworkMapStore::reload(device->getId());
        QCOMPARE(reloaded->getDetailNameValueMap(), device->getDetailNameValueMap());
        QCOMPARE(reloaded->getName(), device->getName());
        QCOMPARE(reloaded->getIsConnected(), device->getIsConnected());
    }

    // Records (which read the configuration and grow the catalogue) go in on one thread while
    // another saves configuration entries, a third reads the map and a fourth reports
    // connections. No thread ever waits anywhere near the store's busy timeout.
    void recordsAppliedWhileTheMapIsReadAndReported()
    {
        const QString gatewayMac = QStringLiteral("00:1A:2B:3C:4D:00");
        const auto map = InUseMapController::getInstance()->getInUseNetworkMap(
            gatewayMac, QString(), QStringLiteral("Home"));
        std::atomic_bool done { false };
        std::atomic<qint64> longestWait { 0 };
        const auto timed = [&](const std::function<void()> &work) {
            QElapsedTimer timer;
            timer.start();
            work();
            qint64 seen = longestWait;
            while (timer.elapsed() > seen && !longestWait.compare_exchange_weak(seen, timer.elapsed())) { }
        };
        std::thread discovery([&] {
            for (int i = 0; i < 150; ++i) {
                const QString mac = QStringLiteral("00:1A:2B:3C:5D:%1").arg(i % 24, 2, 10, QChar('0'));
                const QString ip = QStringLiteral("10.0.0.%1").arg(2 + i % 24);
                const QString type = i % 3 == 0 ? DEVICE_TYPE_PC : DEVICE_TYPE_UNKNOWN_DEVICE;
                timed([&] {
                    map->addDiscovery({ { NS_DEVICE_TYPE, type }, { DEVICE_PARAM_LAN_MACADDRESS, mac },
                                        { DEVICE_PARAM_LAN_IPADDRESS, ip },
                                        { QString("DETAIL%1").arg(i % 5), QString::number(i) } });
                    map->createNwMapObject(QString("TYPE%1").arg(i), "x",
                                           QStringLiteral("00:1A:2B:3C:6D:%1").arg(i % 99, 2, 10, QChar('0')),
                                           ip, {});
                    map->updateWirelessClientList({ mac.toLower() });
                });
            }
            done = true;
        });
        std::thread configuration([&] {
            for (int i = 0; !done; ++i)
                timed([&] { ConfigDataFactory::getInstance()->saveConfigData(QString("KEY%1").arg(i % 9), QString::number(i)); });
        });
        std::thread reporter([&] {
            while (!done)
                timed([&] { map->saveConnectionStatus({ { QStringLiteral("10.0.0.3"), false }, { QStringLiteral("10.0.0.4"), true } }); });
        });
        int reads = 0;
        while (!done) {
            for (const auto &device : map->getNwMapObjectList()) {
                device->getDetailNameValueMap();
                VelCpeFacade(device).isVelmoraCpe();
            }
            map->getMacIpMap(true);
            ++reads;
        }
        discovery.join();
        configuration.join();
        reporter.join();
        QVERIFY(reads > 0);
        QVERIFY2(longestWait < 2000, QByteArray::number(longestWait.load()));
        QCOMPARE(NetworkMapStore().deviceRows(), map->count());
    }
};

ZEL_TEST_MAIN(TestNetworkMapConcurrency)
#include "tst_networkmapconcurrency.moc"
