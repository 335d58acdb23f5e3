#include "DnsWire.h"

#include <zelscan/names/DnsMessage_p.h>

#include <QHostAddress>
#include <QtTest>

using namespace zelscan;
using namespace dnswire;

namespace {

const QByteArray REVERSE = name({ "5", "0", "0", "127", "in-addr", "arpa" });

QStringList describe(const dns::Message &message)
{
    if (!message.refusal.isEmpty())
        return { QStringLiteral("refused: ") + message.refusal };
    QStringList lines;
    for (const dns::Record &record : message.records) {
        const QString owner = dns::nameText(record.name);
        const QString target = dns::nameText(record.target);
        if (record.type == dns::TYPE_A)
            lines << QStringLiteral("A %1 %2").arg(owner, QHostAddress(record.ipv4).toString());
        else if (record.type == dns::TYPE_SRV)
            lines << QStringLiteral("SRV %1 %2:%3").arg(owner, target).arg(record.port);
        else
            lines << QStringLiteral("PTR %1 %2").arg(owner, target);
    }
    if (!message.dropped.isEmpty())
        lines << QStringLiteral("dropped: ") + message.dropped;
    if (message.limited)
        lines << QStringLiteral("limited");
    return lines;
}

} // namespace

class TestDnsMessage : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void query();
};

void TestDnsMessage::parse_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("maxRecords");
    QTest::addColumn<QStringList>("expected");

    const QByteArray nas = record(name({ "nas", "local" }), dns::TYPE_A, ipv4(127, 0, 0, 5));
    QTest::newRow("reverse PTR") << header(1)
            + record(REVERSE, dns::TYPE_PTR, name({ "nas", "local" }))
                                 << 100 << QStringList { "PTR 5.0.0.127.in-addr.arpa nas.local" };

    // The browse name at 12 ("local" at 30), the instance name at 47, the host name at 91.
    const QByteArray browse = header(3)
        + record(name({ "_workstation", "_tcp", "local" }), dns::TYPE_PTR,
                 name({ "nas [aa:bb:cc:dd:ee:ff]" }, 12))
        + record(name({}, 47), dns::TYPE_SRV, srv(9, name({ "nas" }, 30)))
        + record(name({}, 91), dns::TYPE_A, ipv4(127, 0, 0, 5));
    QTest::newRow("browse, compressed")
        << browse << 100
        << QStringList {
               "PTR _workstation._tcp.local nas [aa:bb:cc:dd:ee:ff]._workstation._tcp.local",
               "SRV nas [aa:bb:cc:dd:ee:ff]._workstation._tcp.local nas.local:9",
               "A nas.local 127.0.0.5"
           };
    QTest::newRow("question, other types and classes skipped, UTF-8 kept")
        << header(3, 1) + REVERSE + u16(dns::TYPE_PTR) + u16(1)
            + record(name({ "nas", "local" }), 16, "\x04text")
            + record(name({ "nas", "local" }), dns::TYPE_A, ipv4(1, 2, 3, 4), 3)
            + record(name({ "caf\xc3\xa9", "local" }), dns::TYPE_A, ipv4(10, 0, 0, 1))
        << 100 << QStringList { QString::fromUtf8("A caf\xc3\xa9.local 10.0.0.1") };
    QTest::newRow("records beyond the limit unread")
        << header(3) + nas + nas + nas << 2
        << QStringList { "A nas.local 127.0.0.5", "A nas.local 127.0.0.5", "limited" };

    QTest::newRow("pointer to itself")
        << header(1) + record(name({}, 12), 1, ipv4(1, 2, 3, 4)) << 100
        << QStringList { "refused: compression pointer not pointing backwards" };
    QTest::newRow("loop through an earlier label")
        << header(1) + record(name({ "a" }, 12), 1, ipv4(1, 2, 3, 4)) << 100
        << QStringList { "refused: compression pointer not pointing backwards" };
    QTest::newRow("forward pointer") << header(1) + record(name({}, 40), 1, ipv4(1, 2, 3, 4))
            + nas << 100 << QStringList { "refused: compression pointer not pointing backwards" };
    // Names of one jump each in a skipped record's data, from 23 on; a last one leads to them.
    for (const int jumps : { 20, 21 }) {
        QByteArray chain = name({ "a" });
        int last = 23;
        for (int i = 1; i < jumps; ++i) {
            const int at = 23 + chain.size();
            chain += name({ "b" }, last);
            last = at;
        }
        const QString owner = QStringLiteral("b.").repeated(jumps - 1) + QStringLiteral("a");
        QTest::addRow("%d pointers in a name", jumps)
            << header(2) + record(name({}), 16, chain) + record(name({}, last), 1, ipv4(1, 2, 3, 4))
            << 100
            << QStringList { jumps == 20
                                 ? QStringLiteral("A %1 1.2.3.4").arg(owner)
                                 : QStringLiteral(
                                     "refused: more than 20 compression pointers in a name") };
    }
    QTest::newRow("truncated") << (header(1) + nas).chopped(3) << 100
                               << QStringList { "refused: truncated message" };
    QTest::newRow("counts larger than the message") << header(1000)
            + nas << 100 << QStringList { "refused: record counts larger than the message" };
    QTest::newRow("64-byte label")
        << header(1) + record(name({ QByteArray(64, 'a') }), 1, ipv4(1, 2, 3, 4)) << 100
        << QStringList { "refused: label over 63 bytes" };
    const QByteArray label(59, 'a');
    QTest::newRow("300-character name")
        << header(1) + record(name({ label, label, label, label, label }), 1, ipv4(1, 2, 3, 4))
        << 100 << QStringList { "refused: name over 255 bytes" };
    QTest::newRow("over 9000 bytes") << header(0) + QByteArray(9000, '\0') << 100
                                     << QStringList { "refused: message over 9000 bytes" };
    QTest::newRow("address of 5 bytes") << header(1) + record(name({ "a" }), 1, "12345") << 100
                                        << QStringList { "refused: address record of 5 bytes" };
    QTest::newRow("invalid UTF-8 dropped, the rest kept")
        << header(2) + record(REVERSE, dns::TYPE_PTR, name({ "\xc3\x28" })) + nas << 100
        << QStringList { "A nas.local 127.0.0.5", "dropped: name not in UTF-8" };
    QTest::newRow("overlong UTF-8") << header(1) + record(name({ "\xc0\xaf" }), 1, ipv4(1, 2, 3, 4))
                                    << 100 << QStringList { "dropped: name not in UTF-8" };
    QTest::newRow("control characters")
        << header(1) + record(REVERSE, dns::TYPE_PTR, name({ "a\ab" })) << 100
        << QStringList { "dropped: name with control characters" };
}

void TestDnsMessage::parse()
{
    QFETCH(QByteArray, message);
    QFETCH(int, maxRecords);
    QFETCH(QStringList, expected);
    QCOMPARE(describe(dns::parse(message, maxRecords)), expected);
}

void TestDnsMessage::query()
{
    const QList<QStringList> names { QStringList { "5", "0", "0", "127", "in-addr", "arpa" } };
    const QByteArray message = dns::query(names, dns::TYPE_PTR, true);
    QCOMPARE(message, header(0, 1, 0) + REVERSE + u16(dns::TYPE_PTR) + u16(0x8001));
    QVERIFY(!dns::parse(message, 100).response);
}

QTEST_GUILESS_MAIN(TestDnsMessage)
#include "tst_dnsmessage.moc"
