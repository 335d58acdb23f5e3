#include <zelscan/host/HomeRecords_p.h>

#include <zelmw/vocabulary/ZelConstants.h>

#include <QtTest>

using namespace zelmw;
using Record = QMap<QString, QString>;

// How one search's findings become the records of the home, without a network.
class TestHomeRecords : public QObject
{
    Q_OBJECT

private slots:
    void merge()
    {
        zelscan::HomeFindings found;
        found.gatewayAddress = QStringLiteral("10.0.0.1");
        found.interfaceName = QStringLiteral("eth0");
        found.neighbours = { { QStringLiteral("10.0.0.10"), QStringLiteral("02:00:00:00:00:0A"),
                               QStringLiteral("eth0") },
                             { QStringLiteral("10.0.0.1"), QStringLiteral("02:00:00:00:00:01"),
                               QStringLiteral("eth0") },
                             { QStringLiteral("10.0.0.9"), QStringLiteral("02:00:00:00:00:09"),
                               QStringLiteral("eth0") },
                             { QStringLiteral("172.16.0.5"), QStringLiteral("02:00:00:00:00:05"),
                               QStringLiteral("wlan0") } };
        const Record pc { { NS_DEVICE_TYPE, DEVICE_TYPE_PC },
                          { DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("10.0.0.2") } };
        found.localPc = pc;
        // The gateway answers as a media server only, and is a router all the same.
        found.upnp = { { { NS_DEVICE_TYPE, DEVICE_TYPE_UNKNOWN_DEVICE },
                         { DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("10.0.0.1") },
                         { UPNP_PARAM_FRIENDLYNAME, QStringLiteral("Hub") } },
                       { { DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("10.0.0.2") } },
                       { { DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("10.0.0.77") } } };
        found.names = { { { DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("10.0.0.1") },
                          { DEVICE_PARAM_NAME, QStringLiteral("hub") } },
                        { { DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("10.0.0.10") },
                          { DEVICE_PARAM_NAME, QStringLiteral("nas") } } };
        QStringList unknown;
        const QList<Record> records = zelscan::mergeHomeRecords(found, unknown);
        const auto device = [](const char *ip, const char *mac) {
            return Record { { NS_DEVICE_TYPE, DEVICE_TYPE_UNKNOWN_DEVICE },
                            { DEVICE_PARAM_LAN_IPADDRESS, QLatin1String(ip) },
                            { DEVICE_PARAM_LAN_MACADDRESS, QLatin1String(mac) } };
        };
        Record gateway = device("10.0.0.1", "02:00:00:00:00:01");
        gateway.insert(NS_DEVICE_TYPE, DEVICE_TYPE_GATEWAY);
        gateway.insert(GATEWAY_PARAM_ISROUTER, BOOL_TRUE_VALUE);
        gateway.insert(UPNP_PARAM_FRIENDLYNAME, QStringLiteral("Hub"));
        Record nas = device("10.0.0.10", "02:00:00:00:00:0A");
        nas.insert(DEVICE_PARAM_NAME, QStringLiteral("nas"));
        QCOMPARE(records,
                 (QList<Record> { gateway, pc, device("10.0.0.9", "02:00:00:00:00:09"), nas }));
        QCOMPARE(unknown, QStringList { QStringLiteral("10.0.0.77") });

        // Over IPv6, only a MAC address seen nowhere else is one more device, known by its
        // global address rather than its link-local one.
        const auto neighbour6 = [](const char *ip, const char *mac) {
            return zelscan::HostTables::Neighbour { QLatin1String(ip), QLatin1String(mac),
                                                    QStringLiteral("eth0") };
        };
        found.ipv6Neighbours = { neighbour6("fe80::9", "02:00:00:00:00:09"),
                                 neighbour6("fe80::c", "02:00:00:00:00:0C"),
                                 neighbour6("2001:db8::c", "02:00:00:00:00:0C") };
        QCOMPARE(zelscan::mergeHomeRecords(found, unknown).last(),
                 device("2001:db8::c", "02:00:00:00:00:0C"));

        // Without UPnP or names, the gateway is still the router.
        found.upnp.clear();
        found.names.clear();
        gateway.remove(UPNP_PARAM_FRIENDLYNAME);
        QCOMPARE(zelscan::mergeHomeRecords(found, unknown).first(), gateway);
    }
};

QTEST_GUILESS_MAIN(TestHomeRecords)
#include "tst_homerecords.moc"
