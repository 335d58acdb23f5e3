#include "DnsWire.h"

#include <LogCapture.h>
#include <zelmw/vocabulary/ZelConstants.h>
#include <zelscan/names/NameScanner.h>

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QUdpSocket>
#include <QtTest>

using Record = QMap<QString, QString>;

class TestNameScanner : public QObject, private DnsWire
{
    Q_OBJECT

private slots:
    void initTestCase();
    void scan();
};

void TestNameScanner::initTestCase()
{
    // Multicast DNS must never leave a namespace of loopback alone, as ctest runs this in.
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        if (!interface.flags().testFlag(QNetworkInterface::IsLoopBack))
            QSKIP("sends multicast DNS: runs only in the network namespace ctest gives it");
    }
}

void TestNameScanner::scan()
{
    const QNetworkInterface lo = QNetworkInterface::interfaceFromName(QStringLiteral("lo"));
    const QHostAddress group(QStringLiteral("224.0.0.251"));
    QUdpSocket responder;
    QVERIFY(responder.bind(QHostAddress::AnyIPv4, 5353,
                           QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint));
    QVERIFY(responder.joinMulticastGroup(group, lo));
    responder.setMulticastInterface(lo);
    QUdpSocket hostile;
    QVERIFY(hostile.bind(QHostAddress(QStringLiteral("127.0.0.9")), 0));
    hostile.setMulticastInterface(lo);

    // 127.0.0.5 by reverse lookup, answered to the asker alone; 127.0.0.6 as a workstation,
    // answered to the group; from another sender garbage, and a name that is not UTF-8.
    const QByteArray instance
        = name({ "studio [aa:bb:cc:dd:ee:ff]", "_workstation", "_tcp", "local" });
    const QByteArray reverseAnswer = header(1)
        + record(name({ "5", "0", "0", "127", "in-addr", "arpa" }), 12, name({ "nas", "local" }));
    const QByteArray browseAnswer = header(3)
        + record(name({ "_workstation", "_tcp", "local" }), 12, instance)
        + record(instance, 33, u16(0) + u16(0) + u16(9) + name({ "studio", "local" }))
        + record(name({ "STUDIO", "local" }), 1, ipv4(127, 0, 0, 6));
    const QByteArray garbage = header(1) + record(name({}, 12), 1, ipv4(1, 2, 3, 4));
    const QByteArray notUtf8 = header(1)
        + record(name({ "7", "0", "0", "127", "in-addr", "arpa" }), 12, name({ "\xc3\x28" }));
    int queryTtl = 0;
    connect(&responder, &QUdpSocket::readyRead, this, [&] {
        while (responder.hasPendingDatagrams()) {
            const QNetworkDatagram query = responder.receiveDatagram();
            if (query.data().size() < 12 || (query.data().at(2) & 0x80))
                continue; // responses, this responder's own among them
            queryTtl = query.hopLimit();
            responder.writeDatagram(reverseAnswer, query.senderAddress(), query.senderPort());
            responder.writeDatagram(browseAnswer, group, 5353);
        }
    });

    zeltest::LogCapture log(QStringLiteral("ZELSCAN"));
    QList<QHostAddress> addresses;
    for (const char *address : { "127.0.0.5", "127.0.0.6", "127.0.0.7", "127.0.0.8", "127.0.0.5" })
        addresses << QHostAddress(QString::fromLatin1(address));
    zelscan::NameScanner scanner(lo, addresses);
    scanner.setListenWindow(600);
    QList<Record> records;
    connect(&scanner, &zelscan::Scanner::discovered, this, [&](const Record &r) { records << r; });
    QSignalSpy finished(&scanner, &zelscan::Scanner::finished);
    scanner.start();
    hostile.writeDatagram(garbage, group, 5353);
    hostile.writeDatagram(notUtf8, group, 5353);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000); // guards against a hang

    QCOMPARE(queryTtl, 255);
    const QString ip = zelmw::DEVICE_PARAM_LAN_IPADDRESS;
    QCOMPARE(records,
             QList<Record>({ { { ip, "127.0.0.5" }, { zelmw::DEVICE_PARAM_NAME, "nas" } },
                             { { ip, "127.0.0.6" }, { zelmw::DEVICE_PARAM_NAME, "studio" } } }));
    QStringList warnings = log.messages();
    warnings.sort();
    QCOMPARE(warnings,
             QStringList({ "NameScanner - dropped records from 127.0.0.9: name not in UTF-8",
                           "NameScanner - refused a message from 127.0.0.9: compression pointer "
                           "not pointing backwards" }));

    // A window over before the resolver answers aborts its lookups: under the leak checker, a
    // lookup answered after its look would leave Qt's copy of the receiver behind.
    scanner.setListenWindow(0);
    scanner.start();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 5000); // guards against a hang
    QCOMPARE(records.size(), 2);
}

QTEST_GUILESS_MAIN(TestNameScanner)
#include "tst_namescanner.moc"
