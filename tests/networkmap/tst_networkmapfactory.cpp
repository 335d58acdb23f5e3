#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include "LogCapture.h"
#include "NetworkMapStore.h"
#include "TestSupport.h"

#include <QProcess>
#include <QtTest>

#include <thread>

using namespace zelmw;

namespace {

const QString GW_A = QStringLiteral("00:1A:2B:3C:4D:0A");
const QString GW_B = QStringLiteral("00:1A:2B:3C:4D:0B");
const QString HOME = QStringLiteral("Velmora Home Network");

QMap<QString, QString> router(const QString &mac)
{
    return { { NS_DEVICE_TYPE, DEVICE_TYPE_GATEWAY },
             { DEVICE_PARAM_LAN_MACADDRESS, mac },
             { DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("10.0.0.1") },
             { GATEWAY_PARAM_ISROUTER, BOOL_TRUE_VALUE } };
}

} // namespace

class TestNetworkMapFactory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A second run of this program in the same data location reads what the first stored.
        if (qEnvironmentVariableIsSet("ZELTEST_DATA_HOME"))
            qputenv("XDG_DATA_HOME", qgetenv("ZELTEST_DATA_HOME"));
        else
            zeltest::isolateDataLocation();
        zeltest::failOnSqlMisuse();
    }

    void init()
    {
        if (!qEnvironmentVariableIsSet("ZELTEST_DATA_HOME"))
            NetworkMapStore::reset();
    }

    void repositoryIdentity()
    {
        if (qEnvironmentVariableIsSet("ZELTEST_DATA_HOME"))
            QSKIP("the second process only reads");
        const auto maps = NetworkMapFactory::getInstance();
        {
            zeltest::LogCapture log(QStringLiteral("default"));
            QVERIFY(!maps->addNetworkMap(QString(), QString(), HOME));
            QVERIFY(!maps->addNetworkMap(GW_A, QString(), QString()));
        }
        const auto map = maps->addNetworkMap(GW_A, QString(), HOME);
        QCOMPARE(map->getSerial(), QStringLiteral("@MAC:") + GW_A);
        QCOMPARE(maps->getNetworkMap(GW_A), map);
        QCOMPARE(maps->getNetworkMap(map->getId()), map);
        QVERIFY(!maps->getNetworkMap(GW_A.toLower()));
        QVERIFY(!maps->getNetworkMap(999));
        QCOMPARE(maps->size(), 1);

        // A renamed serial still finds its cached map by id, never a second instance.
        map->setSerial(QStringLiteral("@MAC:renamed"));
        QCOMPARE(maps->getNetworkMap(GW_A), map);
        maps->clear();
        const auto reloaded = maps->getNetworkMap(map->getId());
        QVERIFY(reloaded && reloaded != map);
    }

    // One object per stored device: the repository hands out the device the map holds.
    void oneObjectPerDevice()
    {
        if (qEnvironmentVariableIsSet("ZELTEST_DATA_HOME"))
            QSKIP("the second process only reads");
        const auto map = InUseMapController::getInstance()->getInUseNetworkMap(GW_A, QString(), HOME);
        const auto gateway = map->addDiscovery(router(GW_A));
        const auto devices = NetworkMapObjectFactory::getInstance();
        QCOMPARE(devices->getNetworkMapObject(gateway->getId()), gateway);
        NetworkMapFactory::getInstance()->clear();
        devices->clear();
        const auto byId = devices->getNetworkMapObject(gateway->getId());
        const auto reloaded = NetworkMapFactory::getInstance()->getNetworkMap(map->getId());
        QCOMPARE(reloaded->getNwMapObject(gateway->getId()), byId);
        QCOMPARE(byId->getNetworkMap(), reloaded);
        byId->saveDetail(QStringLiteral("NOTE"), QStringLiteral("seen"));
        QCOMPARE(reloaded->getMasterDevice()->getDetailValue(QStringLiteral("NOTE"), QString()),
                 QStringLiteral("seen"));
    }

    void inUseControllerFollowsTheGateway()
    {
        if (qEnvironmentVariableIsSet("ZELTEST_DATA_HOME"))
            QSKIP("the second process only reads");
        const auto controller = InUseMapController::getInstance();
        QVERIFY(!controller->getInUseNetworkMap());
        QSignalSpy changes(controller.get(), &InUseMapController::inUseMapChanged);
        const auto a = controller->getInUseNetworkMap(GW_A, QString(), HOME);
        QCOMPARE(controller->getInUseNetworkMap(GW_A, QString(), HOME), a);
        const auto b = controller->getInUseNetworkMap(GW_B, QString(), HOME);
        QCOMPARE(changes.count(), 2);
        QCOMPARE(ConfigDataFactory::getInstance()->getConfigValue(INUSE_NETWORKMAP_ID),
                 QString::number(b->getId()));

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
        QCOMPARE(controller->getInUseNetworkMap(), a); // from the configuration again

        {
            zeltest::LogCapture log(QStringLiteral("default"));
            controller->getInUseNetworkMap(GW_B, QString(), HOME);
            QVERIFY(!controller->getInUseNetworkMap(QString(), QString(), HOME));
            QCOMPARE(log.messages(),
                     QStringList({ QStringLiteral("NetworkMapFactory::addNetworkMap - serial cannot be empty"),
                                   QStringLiteral("InUseMapController::changeInUseMap - inUseMap cannot be null") }));
        }
        QCOMPARE(controller->getInUseNetworkMap(), b);

        // A deleted map stops being the map in use.
        QCOMPARE(NetworkMapFactory::getInstance()->deleteNetworkMap(b->getId()), b);
        QCOMPARE(controller->getInUseNetworkMap(), NetworkMapSharedPtr());
    }

    // What one process stored, the next loads whole.
    void storedMapComesBackAfterARestart()
    {
        if (!qEnvironmentVariableIsSet("ZELTEST_DATA_HOME")) {
            const auto map = InUseMapController::getInstance()->getInUseNetworkMap(GW_A, QString(), HOME);
            map->addDiscovery(router(GW_A));
            map->addDiscovery({ { NS_DEVICE_TYPE, DEVICE_TYPE_PC },
                                { DEVICE_PARAM_LAN_MACADDRESS, QStringLiteral("00:1a:2b:3c:4d:0c") },
                                { DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("10.0.0.2") },
                                { PC_PARAM_ISLOCALZEL, BOOL_TRUE_VALUE },
                                { PC_PARAM_LOCALZEL_NIC, QStringLiteral("{nic}") } });
            QProcess second;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("ZELTEST_DATA_HOME"), qEnvironmentVariable("XDG_DATA_HOME"));
            second.setProcessEnvironment(environment);
            second.start(QCoreApplication::applicationFilePath(),
                         { QStringLiteral("storedMapComesBackAfterARestart") });
            QVERIFY(second.waitForFinished(60000));
            QVERIFY2(second.exitCode() == 0, second.readAllStandardOutput().constData());
            return;
        }
        const auto map = InUseMapController::getInstance()->getInUseNetworkMap();
        QVERIFY(map);
        QCOMPARE(map->getName(), HOME);
        QCOMPARE(map->count(), 2);
        QCOMPARE(map->getMasterDevice()->getMacAddress(), GW_A);
        QCOMPARE(map->getLocalZel()->getMacAddress(), QStringLiteral("00:1A:2B:3C:4D:0C"));
        QCOMPARE(map->getLocalZel()->getDetailValue(PC_PARAM_ISLOCALZEL, QString()), BOOL_TRUE_VALUE);
        QCOMPARE(map->getNicGuid(), QStringLiteral("{nic}"));
        QCOMPARE(NetworkMapStore().detailRows(), 9);
    }
};

QTEST_GUILESS_MAIN(TestNetworkMapFactory)
#include "tst_networkmapfactory.moc"
