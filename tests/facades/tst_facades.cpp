#include <zelmw/facades/LocalZelFacade.h>
#include <zelmw/facades/VelCpeFacade.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include "ModelReset.h"
#include "NetworkMapStore.h"
#include "TestSupport.h"

#include <QtTest>

using namespace zelmw;

using DevicePtr = boost::shared_ptr<NetworkMapObject>;

// The typed views of one device's details.
class TestFacades : public QObject
{
    Q_OBJECT

    DevicePtr m_device;

    // Stores a detail through the device, as discovery would.
    void store(const QString &name, const QString &value) { m_device->saveDetail(name, value); }

private slots:
    void cleanup()
    {
        m_device.reset();
        QVERIFY(zeltest::resetModel());
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

    // The locally administered bit of the first octet, whatever the letter case or separator.
    void randomizedMacIsTheLocallyAdministeredBit()
    {
        const QMap<QString, bool> macs { { "02:00:00:00:00:01", true },
                                         { "da-a1-19-00-00-01", true },
                                         { "3E:11:22:33:44:55", true },
                                         { "3C:A6:2F:10:20:01", false },
                                         { "00:1a:2b:3c:4d:5e", false } };
        for (auto mac = macs.cbegin(); mac != macs.cend(); ++mac) {
            const DevicePtr device = NetworkMapStore::device(DEVICE_TYPE_PC, mac.key());
            QVERIFY2(NetworkDeviceFacade(device).isRandomizedMac() == mac.value(),
                     qPrintable(mac.key()));
            QVERIFY(zeltest::resetModel());
        }
        QVERIFY(!NetworkDeviceFacade(DevicePtr()).isRandomizedMac());
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

ZEL_TEST_MAIN(TestFacades)
#include "tst_facades.moc"
