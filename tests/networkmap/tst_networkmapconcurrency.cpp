#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include "NetworkMapStore.h"
#include "TestSupport.h"

#include <QtTest>

#include <atomic>
#include <thread>

using namespace zelmw;

using DevicePtr = boost::shared_ptr<NetworkMapObject>;

// The discovery thread changes devices while the application's thread reads them; the
// facades' reads under load are the pipeline stress test's. Meant to be run under
// ThreadSanitizer too.
class TestNetworkMapConcurrency : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QVERIFY(zeltest::resetModel()); }

    void readersSeeWholeChangesWhileDetailsAreSavedAndDeleted()
    {
        const DevicePtr device = NetworkMapStore::device(DEVICE_TYPE_GATEWAY);
        std::atomic_int mismatches { 0 };
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
            }
            done = true;
        });

        int reads = 0;
        std::thread reader([&] {
            QList<boost::shared_ptr<NetworkMapObjectDetail>> held;
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
                device->getName();
                device->getDisconnectTime();
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
};

ZEL_TEST_MAIN(TestNetworkMapConcurrency)
#include "tst_networkmapconcurrency.moc"
