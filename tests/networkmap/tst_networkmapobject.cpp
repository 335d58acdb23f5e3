#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/facades/LocalZelFacade.h>
#include <zelmw/facades/VelCpeFacade.h>
#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/networkmap/NetworkMapObjectDetailDataHandler_p.h>
#include <zelmw/persistence/MapObjectParameterDataHandler_p.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include "NetworkMapStore.h"
#include "TestSupport.h"

#include <QtTest>

#include <atomic>
#include <thread>
#include <utility>

using namespace zelmw;

using DevicePtr = boost::shared_ptr<NetworkMapObject>;

namespace {

// Records a device's signals in the order of emission, on the emitting thread. A detail
// signal is marked "+" when the device holds that value at that moment, so that a receiver
// asking back finds it; a connection signal when the device's row is already connected.
class Recorder : public QObject
{
public:
    explicit Recorder(const DevicePtr &device)
    {
        NetworkMapObject *d = device.get();
        const auto on = [this, d](const char *what) {
            return [=](const QString &name, const QString &value) {
                const bool held = d->hasDetail(name) && d->getDetailValue(name, {}) == value;
                m_events << QString("%1(%2,%3)%4").arg(what, name, value, held ? "+" : "-");
            };
        };
        const auto stored = [this, d](const char *what) {
            return [=] {
                const bool up = NetworkMapStore().deviceRow(d->getId(), "IsConnected") == "1";
                m_events << QString(what) + (up ? "+" : "-");
            };
        };
        const auto named = [this](const char *what) {
            return [=](const QString &name) { m_events << QString("%1(%2)").arg(what, name); };
        };
        const auto direct = Qt::DirectConnection;
        connect(d, &NetworkMapObject::detailChanged, this, on("changed"), direct);
        connect(d, &NetworkMapObject::detailRemoved, this, on("removed"), direct);
        connect(d, &NetworkMapObject::connected, this, stored("connected"), direct);
        connect(d, &NetworkMapObject::disconnected, this, stored("disconnected"), direct);
        connect(
            d, &NetworkMapObject::timeoutToDelete, this, [this] { m_events << "timeout"; }, direct);
        connect(d, &NetworkMapObject::nameChanged, this, named("name"), direct);
        connect(d, &NetworkMapObject::userDefinedNameChanged, this, named("userName"), direct);
    }

    QStringList take() { return std::exchange(m_events, QStringList()); }

private:
    QStringList m_events;
};

QString secondsAgo(int seconds)
{
    return QDateTime::currentDateTime().addSecs(-seconds).toString(Qt::ISODate);
}

int rowsNamed(const char *table, const QString &name)
{
    return zeltest::RawStore()
        .value(QStringLiteral("SELECT count(*) FROM %1 WHERE Name = ?").arg(table), { name })
        .toInt();
}

QStringList names(const QList<MapObject::ParameterPtr> &parameters)
{
    QStringList result;
    for (const MapObject::ParameterPtr &parameter : parameters)
        result << parameter->getName();
    return result;
}

} // namespace

// Devices, the catalogue of their types and parameters, and the facades over their details.
class TestNetworkMapObject : public QObject
{
    Q_OBJECT

    boost::shared_ptr<MapObjectFactory> factory = MapObjectFactory::getInstance();
    DevicePtr m_device; // the facades' gateway

    // Stores a detail through the device, as discovery would.
    void store(const QString &name, const QString &value) { m_device->saveDetail(name, value); }

private slots:
    void cleanup()
    {
        m_device.reset();
        QVERIFY(zeltest::resetModel());
    }

    void detailLifeCycleSignalsInOrder()
    {
        const DevicePtr device = NetworkMapStore::device("PC");
        Recorder events(device);

        QVERIFY(device->saveDetail("A", "a"));
        QVERIFY(!device->saveDetail("A", "a"));
        QVERIFY(device->saveDetail("A", "A"));
        QVERIFY(device->saveDetail("A", ""));
        // An empty value is refused before the device's type grows a parameter for it.
        QVERIFY(!device->saveDetail("B", ""));
        QVERIFY(!device->getMapObject()->hasParameter("B"));
        device->setUserDefinedName("den");
        device->setUserDefinedName("den");
        device->setUserDefinedName("");
        device->setIpAddress("10.0.0.x");
        device->setIpAddress("10.0.0.9");
        QCOMPARE(device->getIpAddress(), QString("10.0.0.9"));
        QCOMPARE(
            events.take(),
            QStringList({ "changed(A,a)+", "changed(A,A)+", "changed(A,)+",
                          "changed(" + DEVICE_PARAM_USER_DEFINED_NAME + ",den)+", "userName(den)",
                          "changed(" + DEVICE_PARAM_LAN_IPADDRESS + ",10.0.0.9)+" }));
        QCOMPARE(NetworkMapStore().detailRows(), 3);

        QVERIFY(device->deleteDetail("A"));
        QCOMPARE(events.take(), QStringList { "removed(A,)-" });
        QCOMPARE(NetworkMapStore().detailRows(), 2);
        device->deleteDetails();
        QCOMPARE(events.take(),
                 QStringList({ "removed(" + DEVICE_PARAM_USER_DEFINED_NAME + ",den)-",
                               "removed(" + DEVICE_PARAM_LAN_IPADDRESS + ",10.0.0.9)-" }));
        QCOMPARE(NetworkMapStore().detailRows(), 0);
    }

    void dirtySavesWriteOnlyTheirFields()
    {
        const DevicePtr device = NetworkMapStore::device("PC");
        Recorder events(device);
        const int id = device->getId();
        device->setName("");
        device->setName("device");
        device->setMacAddress("00:00:00:00:00:00");
        QVERIFY(!device->saveData());
        device->setName("renamed");
        QCOMPARE(events.take(), QStringList { "name(renamed)" });

        // Changed behind the device's back: a save of the name must not write it back.
        QVERIFY(
            NetworkMapObjectDataHandler().updateRecord({ { 0, id }, { 4, "AA:AA:AA:AA:AA:AA" } }));
        QVERIFY(device->saveData());
        QVERIFY(!device->saveData());
        QCOMPARE(NetworkMapStore().deviceRow(id, "Name || ' ' || MacAddress"),
                 QString("renamed AA:AA:AA:AA:AA:AA"));
    }

    // The count of failures, through the device (the map's test adds a success between them);
    // the lease's bounds and times are the connection rules' test. Here also what the device
    // makes of the rules: signals, the stored row, the configured lease. Reports: f/F a failure,
    // t/T a success, capitals forced. A device starts connected, or disconnected that many seconds
    // ago; its lease is the configured one or, when that is missing or not a number of
    // seconds, an hour. "time" stands for the disconnect time's detail being written.
    void connectionRules_data()
    {
        QTest::addColumn<QString>("lease");
        QTest::addColumn<QString>("disconnected");
        QTest::addColumn<QString>("reports");
        QTest::addColumn<QStringList>("events");
        // Leases in seconds; disconnect times in seconds ago, or as stored text.
        const QString missing, up, minute = "60", unreadable = "yesterday";
        const QString recently = "100", pastAMinute = "90", underAnHour = "3500";
        const QStringList none, connected { "connected+" };
        const QStringList disconnect { "time", "disconnected-" };
        const QStringList timeout { "timeout" };
        QTest::newRow("the fifth disconnects, the row first")
            << missing << up << "fffff" << disconnect;
        QTest::newRow("a forced report restarts the count") << missing << up << "ffffTffff" << none;
        QTest::newRow("a forced failure disconnects at once") << missing << up << "F" << disconnect;
        QTest::newRow("a disconnected device follows a success, the row first")
            << missing << recently << "t" << connected;
        QTest::newRow("failures before a forced change do not carry over")
            << missing << recently << "tffff" << connected;
        // A lease not a number reads as zero.
        QTest::newRow("a zero lease is an hour") << "0" << underAnHour << "F" << none;
        QTest::newRow("a negative lease is an hour") << "-10" << underAnHour << "F" << none;
        QTest::newRow("a minute's lease after its end") << minute << pastAMinute << "F" << timeout;
        QTest::newRow("an unreadable disconnect time never ends")
            << minute << unreadable << "F" << none;
    }

    void connectionRules()
    {
        QFETCH(QString, lease);
        QFETCH(QString, disconnected);
        QFETCH(QString, reports);
        QFETCH(QStringList, events);
        if (!lease.isNull())
            QVERIFY(ConfigDataFactory::getInstance()->saveConfigData(DEFAULT_LEASE_TIME, lease));
        const QString timeDetail = DEVICE_PARAM_LAN_DISCONNECT_TIME;
        const DevicePtr device = NetworkMapStore::device("PC");
        if (!disconnected.isNull()) {
            device->setIsConnected(false, true);
            bool inSeconds = false;
            const int seconds = disconnected.toInt(&inSeconds);
            QVERIFY(device->saveDetail(timeDetail, inSeconds ? secondsAgo(seconds) : disconnected));
        }
        Recorder recorder(device);
        for (const QChar report : reports)
            device->setIsConnected(report.toLower() == 't', report.isUpper());

        QStringList seen = recorder.take();
        for (QString &event : seen) {
            if (event.startsWith("changed(" + timeDetail + ","))
                event = "time";
        }
        QCOMPARE(seen, events);
        if (events.contains("time"))
            QVERIFY(device->getDisconnectTime() >= QDateTime::currentDateTime().addSecs(-2));
    }

    // Catalogue entries that are gone: a detail whose parameter is gone is dropped; a device
    // whose type is gone takes no details, and its connection still changes, only the
    // disconnect time cannot be kept.
    void goneCatalogueEntries()
    {
        const DevicePtr device = NetworkMapStore::device("PC");
        QVERIFY(device->saveDetail("kept", "1"));
        NetworkMapObjectDetailDataHandler().addRecord(device->getId(), 99999, "orphan");
        QCOMPARE(NetworkMapStore::reload(device->getId())->getDetailNameValueMap().keys(),
                 QStringList { "kept" });

        QVERIFY(MapObjectFactory::getInstance()->deleteMapObject(device->getMapObjectId()));
        const DevicePtr untyped = NetworkMapStore::reload(device->getId());
        Recorder events(untyped);
        QVERIFY(!untyped->saveDetail("A", "1"));
        untyped->setIsConnected(false, true);
        QCOMPARE(events.take(), QStringList { "disconnected-" });
        QVERIFY(untyped->getDisconnectTime().isNull());
    }

    // The discovery thread changes devices while the application's thread reads them: a race
    // shows under ThreadSanitizer, a lost write as memory that the store does not hold. The
    // facades' reads under load are the pipeline stress test's.
    void readsWhileDetailsAreSavedAndDeleted()
    {
        const DevicePtr device = NetworkMapStore::device(DEVICE_TYPE_GATEWAY);
        std::atomic_bool done { false };
        std::thread writer([&] {
            for (int i = 0; i < 300; ++i) {
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

        std::thread reader([&] {
            QList<boost::shared_ptr<NetworkMapObjectDetail>> held;
            while (!done) {
                device->getDetailNameValueMap();
                for (const auto &detail : device->getDetailList())
                    held << detail;
                device->getName();
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

        // Memory and store agree.
        const DevicePtr reloaded = NetworkMapStore::reload(device->getId());
        QCOMPARE(reloaded->getDetailNameValueMap(), device->getDetailNameValueMap());
        QCOMPARE(reloaded->getName(), device->getName());
        QCOMPARE(reloaded->getIsConnected(), device->getIsConnected());
    }

    void typesGrowOnFirstSight()
    {
        QVERIFY(!factory->getMapObject(QStringLiteral("PRINTER"), false));

        const auto printer = factory->getMapObject("PRINTER", true);
        QVERIFY(printer && printer->getIsActive() && printer->getShowOnMap());
        QCOMPARE(rowsNamed("MapObjects", QStringLiteral("PRINTER")), 1);
        // One shared instance per row, by name and by id.
        QCOMPARE(factory->getMapObject(QStringLiteral("PRINTER"), true), printer);
        QCOMPARE(factory->getMapObject(printer->getId()), printer);
        QVERIFY(factory->exists(QStringLiteral("NAS")));
        QCOMPARE(rowsNamed("MapObjects", QStringLiteral("NAS")), 1);

        // Names are exact.
        QVERIFY(!factory->getMapObject(QStringLiteral("printer"), false));
        QVERIFY(!factory->getMapObject(QString(), true));
    }

    void lookupsPreferCachedThenTableThenLowestId()
    {
        const auto first = factory->createMapObject("PC");
        const auto second = factory->createMapObject("PC");
        QVERIFY(first && second && first->getId() < second->getId());
        QCOMPARE(factory->getMapObject(QStringLiteral("PC"), false), first);

        factory->clear();
        const auto reloaded = factory->getMapObject("PC", false);
        QVERIFY(reloaded != first);
        QCOMPARE(reloaded->getId(), first->getId());
        QVERIFY(factory->getMapObject(first->getId()) == reloaded);
    }

    // A deleted parameter is gone; a deleted type is forgotten, but keeps its parameters.
    void deletingParametersAndTypes()
    {
        const auto type = factory->getMapObject("GATEWAY", true);
        type->createParameter(QStringLiteral("KEPT"));
        const MapObject::ParameterPtr gone = type->createParameter(QStringLiteral("GONE"));
        QVERIFY(type->deleteParameter(QStringLiteral("GONE")));
        QVERIFY(!type->hasParameter(QStringLiteral("GONE")) && !type->hasParameter(gone->getId()));
        QCOMPARE(rowsNamed("MapObjectParameters", QStringLiteral("GONE")), 0);
        QCOMPARE(names(type->getParameterList()), QStringList({ "KEPT" }));

        QVERIFY(!factory->deleteMapObject(12345));
        QCOMPARE(factory->deleteMapObject(type->getId()), type);
        QVERIFY(!factory->exists(type->getId()));
        QCOMPARE(rowsNamed("MapObjects", QStringLiteral("GATEWAY")), 0);
        QCOMPARE(rowsNamed("MapObjectParameters", QStringLiteral("KEPT")), 1);
    }

    void parametersAreCreatedOnceAndListedById()
    {
        const auto type = factory->getMapObject("PC", true);
        const QList<MapObject::ParameterPtr> created
            = type->createParameters({ "Z", "A", "A", "", "M" });
        QCOMPARE(names(created), QStringList({ "Z", "A", "M" }));
        QVERIFY(!type->createParameter(QStringLiteral("A")));
        QCOMPARE(rowsNamed("MapObjectParameters", QStringLiteral("A")), 1);
        QCOMPARE(type->getParameter(QStringLiteral("A"), true), created.at(1));
        QVERIFY(!type->getParameter(QStringLiteral("B"), false));

        // A new instance of the type loads the same parameters from the table.
        factory->clear();
        QCOMPARE(names(factory->getMapObject(type->getId())->getParameterList()),
                 QStringList({ "Z", "A", "M" }));
    }

    // Rows sharing a name all load: dropping one would orphan the details stored under it.
    void duplicateStoredNamesAreAllListed()
    {
        const int type = factory->getMapObject(QStringLiteral("PC"), true)->getId();
        MapObjectParameterDataHandler handler;
        const int older = int(handler.addRecord(type, "X")->Id());
        const int newer = int(handler.addRecord(type, "X")->Id());
        factory->clear();
        const auto loaded = factory->getMapObject(type);
        QCOMPARE(loaded->getParameterList().size(), 2);
        QCOMPARE(loaded->getParameter(QStringLiteral("X"), false)->getId(), newer);
        QVERIFY(loaded->hasParameter(older));
    }

    // Each setter marks its own field: a wrong field number would store another column.
    void savedChangesSurviveAReload()
    {
        const auto type = factory->getMapObject("PC", true);
        type->setName(QStringLiteral("WORKSTATION"));
        type->setShowOnMap(false);
        QVERIFY(type->saveData());
        factory->clear();
        const auto reloaded = factory->getMapObject(type->getId());
        QCOMPARE(reloaded->getName(), QStringLiteral("WORKSTATION"));
        QVERIFY(!reloaded->getShowOnMap() && reloaded->getIsActive());
    }

    // Two threads meeting a new type name store it once and share one object. Parameters are
    // created under the same model lock.
    void twoThreadsCreateOneType()
    {
        for (int round = 0; round < 20; ++round) {
            const QString name = QStringLiteral("NEW%1").arg(round);
            MapObjectFactory::MapObjectPtr first;
            std::thread other([&] { first = factory->getMapObject(name, true); });
            const MapObjectFactory::MapObjectPtr second = factory->getMapObject(name, true);
            other.join();
            QCOMPARE(first, second);
            QCOMPARE(rowsNamed("MapObjects", name), 1);
        }
    }

    // Some getters answer null for a missing detail, some an empty string; a facade over no
    // device answers the same instead of crashing, and stores nothing.
    void missingDetailsAndNoDevice()
    {
        m_device = NetworkMapStore::device(DEVICE_TYPE_GATEWAY);
        for (const DevicePtr &device : { m_device, DevicePtr() }) {
            const VelCpeFacade cpe(device);
            QVERIFY(cpe.getUpnpPort().isNull() && cpe.getUserName().isNull());
            QVERIFY(cpe.getUpnpModelName() == "" && !cpe.getUpnpModelName().isNull());
            QVERIFY(!cpe.isRouter() && !PcFacade(device).isServer());
        }
        QVERIFY(VelCpeFacade(DevicePtr()).getWebUiUrl().isNull());
        QVERIFY(!VelCpeFacade(DevicePtr()).saveAuthentication(true, "admin", "secret"));
    }

    void usbHostDetailsNeedTheUsbHostFeature()
    {
        m_device = NetworkMapStore::device(DEVICE_TYPE_GATEWAY);
        const VelCpeFacade cpe(m_device);
        store(GATEWAY_PARAM_USBHOST_PRINTER_CONNECTED, "1");
        store(GATEWAY_PARAM_USBHOST_PRINTER_MODEL, "M");
        for (const QString supported : { "", "0", "1" }) {
            if (!supported.isEmpty())
                store(GATEWAY_PARAM_USBHOST_ISSUPPORTED, supported);
            const bool on = supported == "1";
            QCOMPARE(cpe.hasUsbHostPrinterConnected(), on);
            QCOMPARE(cpe.getUsbHostPrinterModel(), QString(on ? "M" : ""));
            QVERIFY(!cpe.getUsbHostPrinterModel().isNull());
        }
    }

    void credentialsFallBackOnlyForOurOwnDevices()
    {
        m_device = NetworkMapStore::device(DEVICE_TYPE_GATEWAY);
        const VelCpeFacade cpe(m_device);
        store(GATEWAY_PARAM_ISVELMORACPE, "0");
        QVERIFY(cpe.getUserName().isNull());
        QVERIFY(cpe.getPassword().isNull());

        store(GATEWAY_PARAM_ISVELMORACPE, "1");
        QVERIFY(cpe.getUserName().isNull()); // no default configured
        QVERIFY(ConfigDataFactory::getInstance()->saveConfigData(VEL_CPE_DEFAULT_USERNAME, "adm"));
        QCOMPARE(cpe.getUserName(), QString("adm"));
        QVERIFY(cpe.getPassword().isEmpty() && !cpe.getPassword().isNull());

        // A stored empty user name is a value, not a cue for the default.
        store(GATEWAY_PARAM_USERNAME, "someone");
        store(GATEWAY_PARAM_USERNAME, "");
        QVERIFY(cpe.getUserName().isEmpty() && !cpe.getUserName().isNull());
    }

    void saveAuthenticationAnswersWhetherTheDeviceHoldsTheValues()
    {
        m_device = NetworkMapStore::device(DEVICE_TYPE_GATEWAY);
        VelCpeFacade cpe(m_device);
        QSignalSpy changes(m_device.get(), &NetworkMapObject::detailChanged);
        QVERIFY(cpe.saveAuthentication(true, "admin", "secret"));
        QCOMPARE(changes.size(), 3);
        QCOMPARE(changes.at(0).at(0).toString(), GATEWAY_PARAM_ISAUTHENTICATED);
        QCOMPARE(changes.at(1).at(0).toString(), GATEWAY_PARAM_PASSWORD);
        QCOMPARE(changes.at(2).at(0).toString(), GATEWAY_PARAM_USERNAME);
        QVERIFY(cpe.isAuthenticated());
        QCOMPARE(cpe.getPassword(), QString("secret"));

        // Values held already are not written again, yet the device holds them.
        QVERIFY(cpe.saveAuthentication(true, "admin", "secret"));
        QCOMPARE(changes.size(), 3);

        // A failed login keeps the credentials of the earlier one.
        QVERIFY(cpe.saveAuthentication(false, "other", "other"));
        QVERIFY(!cpe.isAuthenticated());
        QCOMPARE(cpe.getUserName(), QString("admin"));

        // An empty value cannot create a detail.
        VelCpeFacade fresh(NetworkMapStore::device(DEVICE_TYPE_GATEWAY, "00:11:22:33:44:66"));
        QVERIFY(!fresh.saveAuthentication(true, "", "secret"));
        QVERIFY(fresh.getUserName().isNull());
    }

    void pcServerAndOperatingSystem()
    {
        m_device = NetworkMapStore::device(DEVICE_TYPE_GATEWAY);
        const PcFacade pc(m_device);
        store(PC_PARAM_SERVERTYPE, "x");
        store(PC_PARAM_SERVERTYPE, "");
        QVERIFY(!pc.isServer());
        store(PC_PARAM_SERVERTYPE, "0"); // any server type text counts
        QVERIFY(pc.isServer());
        store(PC_PARAM_SERVERTYPE, "");
        store(PC_PARAM_ISDHCPSERVER, "1");
        QVERIFY(pc.isServer());

        store(PC_PARAM_PLATFORM, "win32");
        QVERIFY(pc.getOperatingSystem().isNull());
        store(PC_PARAM_PLATFORMNAME, "Windows");
        QCOMPARE(pc.getOperatingSystem(), QString("Windows"));
    }
};

ZEL_TEST_MAIN(TestNetworkMapObject)
#include "tst_networkmapobject.moc"
