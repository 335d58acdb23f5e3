#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/facades/VelCpeFacade.h>
#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/networkmap/NetworkMapObjectDetail.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include "TestSupport.h"

#include <QtTest>

#include <atomic>
#include <thread>

using namespace zelmw;

// The discovery thread changes a device's details while the application reads them. Built
// with ThreadSanitizer, this test shows that the model's lock covers both sides.
class TestModelConcurrency : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        zeltest::isolateDataLocation();
        zeltest::failOnSqlMisuse();
    }

    void readersSeeConsistentDetailsWhileAnotherThreadChangesThem()
    {
        const auto type = MapObjectFactory::getInstance()->getMapObject(DEVICE_TYPE_GATEWAY, true);
        QVERIFY(type);
        const boost::shared_ptr<NetworkMapObject> device
            = NetworkMapObjectFactory::getInstance()->addNetworkMapObject(
                type->getId(), 1, "gateway", "00:11:22:33:44:55", "192.168.2.1");
        QVERIFY(device);

        std::atomic_bool writing { true };
        int reads = 0;
        bool consistent = true;
        // Reads on a thread of its own; the device belongs to this thread, which writes, as
        // discovery writes the devices it created.
        std::thread reader([&] {
            const VelCpeFacade cpe(device);
            while (writing) {
                for (const auto &detail : device->getDetailList())
                    consistent = consistent && !detail->getParamName().isEmpty();
                const QMap<QString, QString> values = device->getDetailNameValueMap();
                const QString version = cpe.getFirmwareVersion();
                consistent = consistent && (version.isNull() || !version.isEmpty());
                cpe.isVelmoraCpe();
                cpe.getUserName();
                cpe.getWebUiUrl();
                if (const auto detail = device->getDetail(GATEWAY_PARAM_FW_VERSION))
                    detail->getValue();
                device->hasDetail(GATEWAY_PARAM_ISAUTHENTICATED);
                ++reads;
            }
        });

        VelCpeFacade cpe(device);
        const int rounds = 300;
        for (int i = 0; i < rounds; ++i) {
            device->saveDetail(GATEWAY_PARAM_FW_VERSION, QString::number(i));
            device->saveDetail(GATEWAY_PARAM_ISVELMORACPE, QString::number(i % 2));
            if (i % 3 == 0)
                device->deleteDetail(GATEWAY_PARAM_FW_VERSION);
            if (i % 10 == 0)
                cpe.saveAuthentication(i % 20 == 0, QString("user%1").arg(i), "secret");
            if (i == rounds / 2)
                device->deleteDetails();
        }
        writing = false;
        reader.join();
        QVERIFY(reads > 0);
        QVERIFY(consistent);
        QCOMPARE(cpe.getFirmwareVersion(), QString::number(rounds - 1));

        // A device built afresh from the table has exactly the details the registry holds.
        NetworkMapObjectFactory::getInstance()->clear();
        const auto stored
            = NetworkMapObjectFactory::getInstance()->getNetworkMapObject(device->getId());
        QVERIFY(stored && stored != device);
        QCOMPARE(stored->getDetailNameValueMap(), device->getDetailNameValueMap());
        QCOMPARE(stored->getDetailList().size(), device->getDetailList().size());
    }
};

QTEST_GUILESS_MAIN(TestModelConcurrency)
#include "tst_modelconcurrency.moc"
