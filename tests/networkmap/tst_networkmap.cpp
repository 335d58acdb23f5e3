#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/facades/NetworkDeviceFacade.h>
#include <zelmw/networkmap/DeletedDeviceRecords_p.h>
#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include "LogCapture.h"
#include "NetworkMapStore.h"
#include "RawStore.h"
#include "TestSupport.h"

#include <QSqlQuery>
#include <QtTest>

#include <thread>

using namespace zelmw;
using Record = QMap<QString, QString>;
using DevicePtr = NetworkMap::NetworkMapObjectPtr;

namespace {

const QString GW_MAC = QStringLiteral("00:1A:2B:3C:4D:01");
const QString PC_MAC = QStringLiteral("00:1A:2B:3C:4D:02");
const QString TV_MAC = QStringLiteral("00:1A:2B:3C:4D:03");
// Gateways of other networks.
const QString GW_A = QStringLiteral("00:1A:2B:3C:4D:0A");
const QString GW_B = QStringLiteral("00:1A:2B:3C:4D:0B");
const QString HOME = QStringLiteral("Velmora Home Network");

// Every map signal in order, as "name id[ flag]".
class MapRecorder : public QObject
{
public:
    explicit MapRecorder(NetworkMap &map)
    {
        const auto on = [this](const char *what) {
            return
                [=](int id) { events << QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(id); };
        };
        const auto direct = Qt::DirectConnection;
        connect(
            &map, &NetworkMap::nwMapObjCreated, this,
            [this](int id, bool master) {
                events << QStringLiteral("created %1 %2").arg(id).arg(master);
            },
            direct);
        connect(&map, &NetworkMap::nwMapObjDeleted, this, on("deleted"), direct);
        connect(&map, &NetworkMap::convertLocalZelToPc, this, on("convert"), direct);
        connect(&map, &NetworkMap::nwmapObjConnected, this, on("connected"), direct);
        connect(&map, &NetworkMap::nwmapObjDisconnected, this, on("disconnected"), direct);
    }
    QStringList events;
};

} // namespace

class TestNetworkMap : public QObject
{
    Q_OBJECT

    NetworkMapSharedPtr m_map;

    // The map's answer to a discovery record.
    DevicePtr discover(const QString &type, const QString &mac, const QString &ip,
                       Record record = Record())
    {
        record.insert(NS_DEVICE_TYPE, type);
        record.insert(DEVICE_PARAM_LAN_MACADDRESS, mac);
        record.insert(DEVICE_PARAM_LAN_IPADDRESS, ip);
        return m_map->addDiscovery(record);
    }

private slots:
    void init()
    {
        QVERIFY(zeltest::resetModel());
        m_map = NetworkMapFactory::getInstance()->addNetworkMap(GW_MAC, QString(),
                                                                QStringLiteral("Home"));
        QVERIFY(m_map);
    }

    // Creation is refused for a MAC address a device of the map has, in any case, also one set
    // on a device after it was entered, and before the address is looked at; for an invalid
    // address; for an empty name. Each refusal is one warning.
    void creationChecks()
    {
        const auto create = [this](const QString &name, const QString &mac, const QString &ip) {
            return m_map->createNwMapObject(QStringLiteral("TV"), name, mac, ip, Record());
        };
        const auto pc = discover(DEVICE_TYPE_PC, PC_MAC, "10.0.0.2");
        pc->setMacAddress(TV_MAC);
        zeltest::LogCapture log(LOGGER_NAME);
        QVERIFY(!create("tv", TV_MAC.toLower(), "bad"));
        QVERIFY(!create("x", PC_MAC, "1a2b3c4"));
        QVERIFY(!create("", PC_MAC, "10.0.0.9"));
        const QString prefix = QStringLiteral("NetworkMap::createNwMapObject - ");
        QCOMPARE(log.messages(),
                 QStringList({ prefix + "another device already exists with same MAC address: "
                                   + TV_MAC.toLower(),
                               prefix + "invalid IP address: 1a2b3c4",
                               prefix + " Record cannot be created" }));
        QVERIFY(create("x", PC_MAC, "10.0.0.4"));
        QVERIFY(m_map->removeNwMapObject(pc->getId()));
        QVERIFY(create("x", TV_MAC, "10.0.0.3"));
        QVERIFY(!create("x", TV_MAC.toLower(), "10.0.0.5"));
        QCOMPARE(m_map->count(), 2);
    }

    // A router is the master device; a known device of another type is re-created as a gateway
    // with its old details merged under the record's. A type change that cannot be completed
    // leaves the old device exactly as it was.
    void gatewayRules()
    {
        MapRecorder recorder(*m_map);
        const auto router = discover(DEVICE_TYPE_GATEWAY, GW_MAC.toLower(), "10.0.0.1",
                                     { { GATEWAY_PARAM_ISROUTER, BOOL_TRUE_VALUE } });
        const auto unknown = discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC, "10.0.0.3",
                                      { { DEVICE_PARAM_NAME, "tv" } });
        unknown->saveDetail(QStringLiteral("KEPT"), QStringLiteral("old"));
        QVERIFY(!discover(DEVICE_TYPE_PC, TV_MAC, "bad"));
        QCOMPARE(m_map->getNwMapObject(TV_MAC), unknown);
        QCOMPARE(NetworkMapStore().deviceRow(unknown->getId(), "MacAddress"), TV_MAC);

        const auto gateway = discover(DEVICE_TYPE_GATEWAY, TV_MAC, "10.0.0.3",
                                      { { GATEWAY_PARAM_ISROUTER, BOOL_TRUE_VALUE } });
        QCOMPARE(recorder.events,
                 QStringList({ QStringLiteral("created %1 1").arg(router->getId()),
                               QStringLiteral("created %1 0").arg(unknown->getId()),
                               QStringLiteral("deleted %1").arg(unknown->getId()),
                               QStringLiteral("created %1 0").arg(gateway->getId()) }));
        QCOMPARE(gateway->getTypeName(), DEVICE_TYPE_GATEWAY);
        QCOMPARE(gateway->getDetailValue(QStringLiteral("KEPT"), QString()), QStringLiteral("old"));
        QCOMPARE(NetworkMapStore().rowCount("NetworkMapObjects"), 2);
        QVERIFY(!NetworkMapObjectFactory::getInstance()->getNetworkMapObject(unknown->getId()));
    }

    // The local PC moves between devices and follows its own device through a type change.
    void localPcRules()
    {
        const Record local { { PC_PARAM_ISLOCALZEL, BOOL_TRUE_VALUE },
                             { PC_PARAM_LOCALZEL_NIC, "{nic-1}" } };
        const auto gateway = discover(DEVICE_TYPE_GATEWAY, GW_MAC, "10.0.0.1");
        const auto unknown = discover(DEVICE_TYPE_UNKNOWN_DEVICE, PC_MAC, "10.0.0.2");
        MapRecorder recorder(*m_map);
        QCOMPARE(discover(DEVICE_TYPE_PC, GW_MAC, "10.0.0.1", local), gateway);
        QCOMPARE(m_map->getLocalZelPcId(), gateway->getId());

        const auto pc = discover(DEVICE_TYPE_PC, PC_MAC, "10.0.0.2",
                                 { { PC_PARAM_ISLOCALZEL, BOOL_TRUE_VALUE } });
        QCOMPARE(m_map->getLocalZelPcId(), pc->getId());
        QCOMPARE(m_map->getNicGuid(), QStringLiteral("{nic-1}")); // kept, the record has none
        QCOMPARE(gateway->getDetailValue(PC_PARAM_ISLOCALZEL, QString()), BOOL_FALSE_VALUE);
        QCOMPARE(recorder.events,
                 QStringList({ QStringLiteral("deleted %1").arg(unknown->getId()),
                               QStringLiteral("created %1 0").arg(pc->getId()),
                               QStringLiteral("convert %1").arg(gateway->getId()) }));

        // The local PC re-created under another type stays the local PC.
        const auto gatewayNow = discover(DEVICE_TYPE_GATEWAY, PC_MAC, "10.0.0.2");
        QCOMPARE(m_map->getLocalZelPcId(), gatewayNow->getId());
        NetworkMapFactory::getInstance()->clear();
        QCOMPARE(NetworkMapFactory::getInstance()->getNetworkMap(m_map->getId())->getLocalZelPcId(),
                 gatewayNow->getId());
    }

    // An invalid address never replaces a valid one; a name equal to the IP is no name.
    void inPlaceUpdates()
    {
        const auto tv = discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC, "10.0.0.3",
                                 { { UPNP_PARAM_FRIENDLYNAME, "Living room" } });
        QCOMPARE(discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC, ""), tv);
        QCOMPARE(tv->getIpAddress(), QStringLiteral("10.0.0.3"));
        discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC, "10.0.0.7");
        QCOMPARE(tv->getIpAddress(), QStringLiteral("10.0.0.7"));
        QCOMPARE(tv->getName(), QStringLiteral("Living room"));
    }

    // A wireless list names a device's own address (the home scan marks them); a mesh list
    // also a gateway's other addresses, never another device's address details. An empty part
    // matches nothing.
    void clientLists()
    {
        const QString other = QStringLiteral("00:1a:2b:3c:4d:09");
        const auto gateway = discover(DEVICE_TYPE_GATEWAY, GW_MAC, "10.0.0.1",
                                      { { GATEWAY_PARAM_ETH_MACADDRESS, TV_MAC } });
        const auto pc = discover(DEVICE_TYPE_PC, PC_MAC, "10.0.0.2",
                                 { { GATEWAY_PARAM_ETH_MACADDRESS, other } });
        m_map->updateWirelessClientList({ TV_MAC.toLower(), other });
        m_map->updateMeshClientList({ QString(), other });
        QCOMPARE(gateway->getConnectionType(), LAN_TYPE_WIRED);
        QCOMPARE(pc->getConnectionType(), LAN_TYPE_WIRED);
        m_map->updateMeshClientList({ TV_MAC.toLower() });
        QCOMPARE(gateway->getConnectionType(), LAN_TYPE_WIRELESS);
    }

    // Five unforced failures in a row disconnect the lowest-id device on an address; a
    // "connected" report between them starts the count again. A lease that ran out deletes
    // the device, but never the master device or the local PC.
    void connectionReportsAndLeases()
    {
        QVERIFY(ConfigDataFactory::getInstance()->saveConfigData(DEFAULT_LEASE_TIME, "1"));
        const auto gateway = discover(DEVICE_TYPE_GATEWAY, GW_MAC, "10.0.0.1",
                                      { { GATEWAY_PARAM_ISROUTER, "1" } });
        const auto pc
            = discover(DEVICE_TYPE_PC, PC_MAC, "10.0.0.2", { { PC_PARAM_ISLOCALZEL, "1" } });
        const auto tv = discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC, "10.0.0.2");
        MapRecorder recorder(*m_map);
        const auto report = [this](bool connected) {
            m_map->saveConnectionStatus({ { QStringLiteral("10.0.0.2"), connected },
                                          { QStringLiteral("10.9.9.9"), false } });
        };
        for (const bool connected :
             { true, false, false, false, false, true, false, false, false, false })
            report(connected);
        QVERIFY(recorder.events.isEmpty());
        report(false);
        QCOMPARE(recorder.events,
                 QStringList { QStringLiteral("disconnected %1").arg(pc->getId()) });

        const QString longAgo = QDateTime::currentDateTime().addSecs(-60).toString(Qt::ISODate);
        for (const auto &device : { gateway, pc, tv }) {
            device->setIsConnected(false, true);
            device->saveDetail(DEVICE_PARAM_LAN_DISCONNECT_TIME, longAgo);
        }
        // Reported from a thread of its own, after the map's builder thread is gone.
        std::thread reporter([this] { m_map->setAllDeviceConnectionStatus(false, false); });
        reporter.join();
        QCOMPARE(recorder.events.last(), QStringLiteral("deleted %1").arg(tv->getId()));
        QCOMPARE(m_map->getNwMapObjectList(), (QList<DevicePtr> { gateway, pc }));
    }

    // What the user gave a device outlives its deletion, by lease or by call, and comes back
    // with the device (by MAC, in any letter case) on its own map only; a type change
    // keeps it as before. The records are bounded by age and by count per map.
    void userDetailsComeBackWithTheDevice()
    {
        QVERIFY(ConfigDataFactory::getInstance()->saveConfigData(DEFAULT_LEASE_TIME, "1"));
        discover(DEVICE_TYPE_GATEWAY, GW_MAC, "10.0.0.1", { { GATEWAY_PARAM_ISROUTER, "1" } });
        const auto tv = discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC, "10.0.0.3");
        tv->setUserDefinedName("Living room TV");
        const auto pc = discover(DEVICE_TYPE_PC, TV_MAC, "10.0.0.3");
        QVERIFY(pc != tv);
        pc->setIsConnected(false, true);
        const QString longAgo = QDateTime::currentDateTime().addSecs(-60).toString(Qt::ISODate);
        pc->saveDetail(DEVICE_PARAM_LAN_DISCONNECT_TIME, longAgo);
        m_map->setAllDeviceConnectionStatus(false, false);
        QVERIFY(!m_map->getNwMapObject(TV_MAC));

        const auto other
            = NetworkMapFactory::getInstance()->addNetworkMap(GW_A, QString(), QStringLiteral("B"));
        QVERIFY(other->createNwMapObject(DEVICE_TYPE_PC, "tv", TV_MAC, "10.0.0.3", {}));
        QCOMPARE(other->getNwMapObject(TV_MAC)->getUserDefinedName(), QString());
        const auto back = discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC.toLower(), "10.0.0.9");
        QCOMPARE(back->getUserDefinedName(), QStringLiteral("Living room TV"));
        zeltest::RawStore store;
        QCOMPARE(store.rowCount("DeletedDevices"), 0);

        for (int n = 0; n < DeletedDeviceRecords::MAX_PER_MAP + 5; ++n)
            store.value("INSERT INTO DeletedDevices (NetworkMapId, MacAddress, Details, "
                        "CreateDate) VALUES (?, ?, '{}', ?)",
                        { m_map->getId(), QString::number(n),
                          n < 3 ? "2000-01-01T00:00:00.000Z" : "2100-01-01T00:00:00.000Z" });
        const auto named = discover(DEVICE_TYPE_UNKNOWN_DEVICE, PC_MAC, "10.0.0.4");
        named->setUserDefinedName("desk");
        QVERIFY(m_map->deleteNwMapObject(named->getId()));
        const QString count = "SELECT count(*) FROM DeletedDevices WHERE NetworkMapId = ?";
        QCOMPARE(store.value(count, { m_map->getId() }).toInt(), DeletedDeviceRecords::MAX_PER_MAP);
        QCOMPARE(store.value("SELECT min(MacAddress + 0) FROM DeletedDevices WHERE Details = '{}'")
                     .toInt(),
                 6);
    }

    // A session per connection, by MAC: a type change goes on in it, a deletion ends it; the
    // last seen time follows; the history is cut to its configured count and age.
    void presenceHistory()
    {
        QVERIFY(ConfigDataFactory::getInstance()->saveConfigData(SESSIONS_PER_DEVICE, "2"));
        const auto tv = discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC, "10.0.0.3");
        const QDateTime created = QDateTime::currentDateTimeUtc();
        QVERIFY(NetworkDeviceFacade(tv).getLastSeen() >= created);
        tv->setIsConnected(false, true);
        const auto pc = discover(DEVICE_TYPE_PC, TV_MAC, "10.0.0.3");
        QVERIFY(pc != tv && pc->getIsConnected());
        QList<PresenceSession> history = NetworkDeviceFacade(pc).getPresenceHistory();
        QCOMPARE(history.size(), 2);
        QVERIFY(history[0].to.isValid() && !history[1].to.isValid());
        QCOMPARE(history[0].to.timeSpec(), Qt::UTC);

        pc->setIsConnected(false, true);
        pc->setIsConnected(true, true);
        QVERIFY(m_map->deleteNwMapObject(pc->getId()));
        history = NetworkDeviceFacade(pc).getPresenceHistory();
        QCOMPARE(history.size(), 2);
        QVERIFY(history[1].to.isValid() && history[1].from >= history[0].to);

        zeltest::RawStore store;
        store.value("UPDATE DeviceSessions SET ConnectedTo = '2000-01-01T00:00:00.000Z'");
        const auto back = discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC, "10.0.0.3");
        back->setIsConnected(false, true);
        history = NetworkDeviceFacade(back).getPresenceHistory();
        QCOMPARE(history.size(), 1);
        QCOMPARE(NetworkDeviceFacade(back).getLastSeen(), history[0].to);
        QVERIFY(NetworkDeviceFacade(DevicePtr()).getLastSeen().isNull());
        // Every disconnect drops the expired sessions of all devices: through an index, as
        // a scan of every session ever kept would stall each one.
        QSqlQuery plan(store.getSqlDatabase());
        QVERIFY(plan.exec("EXPLAIN QUERY PLAN DELETE FROM DeviceSessions WHERE ConnectedTo < 'x'")
                && plan.next());
        QVERIFY2(plan.value(3).toString().contains("USING INDEX DeviceSessions_ConnectedTo"),
                 qPrintable(plan.value(3).toString()));
    }

    // Two records of one device merged: the kept one takes the user's details it lacks and
    // the gone one's MAC address, by which later records update it. The alias follows a type
    // change and a reload, and goes with the device, whose name then comes back once only.
    void mergedDevicesAnswerToBothAddresses()
    {
        const auto pc = discover(DEVICE_TYPE_UNKNOWN_DEVICE, PC_MAC, "10.0.0.2");
        const auto tv = discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC, "10.0.0.3");
        tv->setUserDefinedName("TV");
        tv->saveDetail(GATEWAY_PARAM_USERNAME, "admin");
        pc->saveDetail(GATEWAY_PARAM_USERNAME, "owner");
        const int pcId = pc->getId();
        const int tvId = tv->getId();
        QVERIFY(!m_map->mergeDevices(pcId, pcId));
        QVERIFY(!m_map->mergeDevices(pcId, tvId + 100));
        QVERIFY(!m_map->mergeDevices(tvId + 100, pcId));
        QCOMPARE(m_map->count(), 2);
        MapRecorder recorder(*m_map);
        QSignalSpy named(pc.get(), &NetworkMapObject::userDefinedNameChanged);
        QVERIFY(m_map->mergeDevices(pcId, tvId));
        QCOMPARE(recorder.events, QStringList { QStringLiteral("deleted %1").arg(tvId) });
        QCOMPARE(named.count(), 1);
        QCOMPARE(pc->getUserDefinedName(), QStringLiteral("TV"));
        QCOMPARE(pc->getDetailValue(GATEWAY_PARAM_USERNAME, {}), QStringLiteral("owner"));
        QCOMPARE(m_map->getNwMapObjectList(), QList<DevicePtr> { pc });
        QCOMPARE(discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC.toLower(), "10.0.0.9"), pc);
        QCOMPARE(pc->getMacAddress(), PC_MAC);
        QCOMPARE(pc->getIpAddress(), QStringLiteral("10.0.0.9"));

        const int id = discover(DEVICE_TYPE_PC, TV_MAC, "10.0.0.9")->getId();
        QVERIFY(id != pcId);
        const int mapId = m_map->getId();
        m_map.reset();
        zeltest::forgetModel();
        m_map = NetworkMapFactory::getInstance()->getNetworkMap(mapId);
        QCOMPARE(m_map->getMacAliases(id), QStringList { TV_MAC });
        QCOMPARE(discover(DEVICE_TYPE_PC, TV_MAC, "10.0.0.8")->getId(), id);
        QVERIFY(m_map->deleteNwMapObject(id));
        QCOMPARE(zeltest::RawStore().rowCount("MacAliases"), 0);
        QCOMPARE(discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC, "10.0.0.3")->getUserDefinedName(),
                 QString());
        QCOMPARE(discover(DEVICE_TYPE_UNKNOWN_DEVICE, PC_MAC, "10.0.0.2")->getUserDefinedName(),
                 QStringLiteral("TV"));
    }

    // Lookups by address follow every way an address changes, and a device that outlives
    // its map still reports.
    void addressLookupsFollowChanges()
    {
        const auto pc = discover(DEVICE_TYPE_PC, PC_MAC, "10.0.0.2");
        const auto tv = discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC, "10.0.0.3");
        QCOMPARE(m_map->getNwMapObjectByIp("10.0.0.2"), pc);
        pc->setIpAddress("10.0.0.7");
        QVERIFY(!m_map->getNwMapObjectByIp("10.0.0.2"));
        discover(DEVICE_TYPE_UNKNOWN_DEVICE, TV_MAC, "10.0.0.2");
        QCOMPARE(m_map->getNwMapObjectByIp("10.0.0.2"), tv);
        QVERIFY(tv->deleteDetail(DEVICE_PARAM_LAN_IPADDRESS));
        QCOMPARE(m_map->getNwMapObjectByIp("10.0.0.3"), tv);
        QVERIFY(m_map->deleteNwMapObject(tv->getId()));
        QVERIFY(!m_map->getNwMapObjectByIp("10.0.0.3"));

        MapRecorder recorder(*m_map);
        pc->setIsConnected(false, true);
        m_map->saveConnectionStatus(
            { { QStringLiteral("10.0.0.3"), true }, { QStringLiteral("10.0.0.7"), true } });
        QCOMPARE(recorder.events,
                 QStringList({ QStringLiteral("disconnected %1").arg(pc->getId()),
                               QStringLiteral("connected %1").arg(pc->getId()) }));
        m_map.reset();
        NetworkMapFactory::getInstance()->clear();
        pc->setIsConnected(false, true);
        QVERIFY(!pc->getIsConnected());
    }

    // Relays are wired once per device, also for a map built on a thread that has ended.
    void relaysFromAMapBuiltOnAnEndedThread()
    {
        const int id = m_map->getId();
        discover(DEVICE_TYPE_PC, PC_MAC, "10.0.0.2");
        m_map.reset();
        NetworkMapFactory::getInstance()->clear();
        NetworkMapSharedPtr loaded;
        std::thread builder([&] { loaded = NetworkMapFactory::getInstance()->getNetworkMap(id); });
        builder.join();
        const auto pc = loaded->getNwMapObject(PC_MAC);
        loaded->removeNwMapObject(PC_MAC);
        loaded->addNwMapObject(pc);
        loaded->addNwMapObject(pc);
        MapRecorder recorder(*loaded);
        std::thread reporter([&] {
            pc->setIsConnected(false, true);
            pc->setIsConnected(true, true);
        });
        reporter.join();
        QCOMPARE(recorder.events,
                 QStringList({ QStringLiteral("disconnected %1").arg(pc->getId()),
                               QStringLiteral("connected %1").arg(pc->getId()) }));
    }

    // One object per stored map and device: the repository hands out the device the map
    // holds, and a renamed serial still finds its cached map by id.
    void oneObjectPerMapAndDevice()
    {
        const auto map
            = InUseMapController::getInstance()->getInUseNetworkMap(GW_A, QString(), HOME);
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

    // Read from the store, so a map not cached is listed too. An empty store is the tool's
    // test's (maps on a fresh store), one that cannot be read the unit-of-work test's.
    void storedMapIdsAscending()
    {
        const auto factory = NetworkMapFactory::getInstance();
        const int second = factory->addNetworkMap(GW_A, QString(), HOME)->getId();
        factory->clear();
        QList<int> ids;
        QVERIFY(factory->getNetworkMapIds(ids));
        QCOMPARE(ids, QList<int>({ m_map->getId(), second }));
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
        connect(
            controller.get(), &InUseMapController::inUseMapChanged, this,
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

ZEL_TEST_MAIN(TestNetworkMap)
#include "tst_networkmap.moc"
