#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include "LogCapture.h"
#include "ModelReset.h"
#include "TestSupport.h"

#include <QtTest>

#include <thread>

using namespace zelmw;

namespace {

const QString GW_A = QStringLiteral("00:1A:2B:3C:4D:0A");
const QString GW_B = QStringLiteral("00:1A:2B:3C:4D:0B");
const QString HOME = QStringLiteral("Velmora Home Network");

} // namespace

class TestNetworkMapFactory : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QVERIFY(zeltest::resetModel()); }

    // One object per stored map and device: the repository hands out the device the map
    // holds, and a renamed serial still finds its cached map by id.
    void oneObjectPerMapAndDevice()
    {
        const auto map = InUseMapController::getInstance()->getInUseNetworkMap(GW_A, QString(), HOME);
        const auto gateway = map->createMasterDevice("gateway", GW_A, "10.0.0.1", {});
        const auto devices = NetworkMapObjectFactory::getInstance();
        QCOMPARE(devices->getNetworkMapObject(gateway->getId()), gateway);
        NetworkMapFactory::getInstance()->clear();
        devices->clear();
        const auto byId = devices->getNetworkMapObject(gateway->getId());
        const auto reloaded = NetworkMapFactory::getInstance()->getNetworkMap(map->getId());
        QCOMPARE(reloaded->getNwMapObject(gateway->getId()), byId);
        reloaded->setSerial(QStringLiteral("@MAC:renamed"));
        QCOMPARE(NetworkMapFactory::getInstance()->getNetworkMap(GW_A), reloaded);
    }

    void inUseControllerFollowsTheGateway()
    {
        const auto controller = InUseMapController::getInstance();
        QSignalSpy changes(controller.get(), &InUseMapController::inUseMapChanged);
        const auto a = controller->getInUseNetworkMap(GW_A, QString(), HOME);
        QCOMPARE(controller->getInUseNetworkMap(GW_A, QString(), HOME), a);
        const auto b = controller->getInUseNetworkMap(GW_B, QString(), HOME);
        QCOMPARE(changes.count(), 2);

        controller->updateCpeState(true);
        QCOMPARE(controller->getInUseNetworkMap(GW_A, QString(), HOME), a);
        QCOMPARE(controller->getInUseNetworkMap(), b);
        controller->updateCpeState(false);

        // A receiver connected directly may reset the controller from a worker thread.
        connect(controller.get(), &InUseMapController::inUseMapChanged, this,
                [controller] { controller->reset(); }, Qt::DirectConnection);
        std::thread worker([&] { controller->getInUseNetworkMap(GW_A, QString(), HOME); });
        worker.join();
        controller->disconnect(this);
        QCOMPARE(changes.count(), 3);
        QCOMPARE(controller->getInUseNetworkMap(), a); // from the stored setting

        {
            zeltest::LogCapture log(QStringLiteral("default"));
            controller->getInUseNetworkMap(GW_B, QString(), HOME);
            QVERIFY(!controller->getInUseNetworkMap(QString(), QString(), HOME));
            QCOMPARE(log.lines().size(), 2); // no serial, so no map to use
        }
        QCOMPARE(controller->getInUseNetworkMap(), b);

        // A deleted map stops being the map in use.
        QCOMPARE(NetworkMapFactory::getInstance()->deleteNetworkMap(b->getId()), b);
        QCOMPARE(controller->getInUseNetworkMap(), NetworkMapSharedPtr());
    }
};

ZEL_TEST_MAIN(TestNetworkMapFactory)
#include "tst_networkmapfactory.moc"
