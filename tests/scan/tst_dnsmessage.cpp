#include "DnsWire.h"

#include <zelscan/names/DnsMessage_p.h>

#include <QHostAddress>
#include <QtTest>
#include <utility>

using namespace zelscan;

namespace {

QStringList describe(const dns::Message &message)
{
    if (!message.refusal.isEmpty())
        return { QStringLiteral("refused: ") + message.refusal };
    QStringList lines;
    for (const dns::Record &record : message.records) {
        const QString owner = dns::nameText(record.name), target = dns::nameText(record.target);
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

void row(const char *tag, const QByteArray &message, const QStringList &expected,
         int maxRecords = 100)
{
    QTest::newRow(tag) << message << maxRecords << expected;
}

} // namespace

class TestDnsMessage : public QObject, private DnsWire
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void query();

private:
    const QByteArray reverse = name({ "5", "0", "0", "127", "in-addr", "arpa" });
};

void TestDnsMessage::parse_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("maxRecords");
    QTest::addColumn<QStringList>("expected");

    const QByteArray nas = record(name({ "nas", "local" }), dns::TYPE_A, ipv4(127, 0, 0, 5));
    const QString nasLine = QStringLiteral("A nas.local 127.0.0.5");
    row("reverse", header(1) + record(reverse, dns::TYPE_PTR, name({ "nas", "local" })),
        { "PTR 5.0.0.127.in-addr.arpa nas.local" });
    // The browse name at 12 ("local" at 30), the instance name at 47, the host name at 91.
    row("browse, compressed",
        header(3)
            + record(name({ "_workstation", "_tcp", "local" }), dns::TYPE_PTR,
                     name({ "nas [aa:bb:cc:dd:ee:ff]" }, 12))
            + record(name({}, 47), dns::TYPE_SRV, u16(0) + u16(0) + u16(9) + name({ "nas" }, 30))
            + record(name({}, 91), dns::TYPE_A, ipv4(127, 0, 0, 5)),
        { "PTR _workstation._tcp.local nas [aa:bb:cc:dd:ee:ff]._workstation._tcp.local",
          "SRV nas [aa:bb:cc:dd:ee:ff]._workstation._tcp.local nas.local:9", nasLine });
    row("question, other types and classes skipped, UTF-8 kept",
        header(3, 1) + reverse + u16(dns::TYPE_PTR) + u16(1) + record(name({ "a" }), 16, "\x01t")
            + record(name({ "a" }), dns::TYPE_A, ipv4(1, 2, 3, 4), 3)
            + record(name({ "caf\xc3\xa9", "local" }), dns::TYPE_A, ipv4(10, 0, 0, 1)),
        { QString::fromUtf8("A caf\xc3\xa9.local 10.0.0.1") });
    row("records beyond the limit unread", header(3) + nas + nas + nas,
        { nasLine, nasLine, "limited" }, 2);

    const QByteArray a = ipv4(1, 2, 3, 4);
    const QStringList backwards { "refused: compression pointer not pointing backwards" };
    row("loop", header(1) + record(name({ "a" }, 12), 1, a), backwards);
    row("forward pointer", header(1) + record(name({}, 40), 1, a) + nas, backwards);
    // Names of one jump each in a skipped record's data from 23 on, and one leading to them.
    for (const int jumps : { 20, 21 }) {
        QByteArray chain = name({ "a" });
        for (int last = 23; chain.size() < 4 * jumps - 1;)
            chain += name({ "b" }, std::exchange(last, 23 + chain.size()));
        row(jumps == 20 ? "20 jumps" : "21 jumps",
            header(2) + record(name({}), 16, chain) + record(name({}, 23 + chain.size() - 4), 1, a),
            { jumps == 20
                  ? QStringLiteral("A %1a 1.2.3.4").arg(QStringLiteral("b.").repeated(19))
                  : QStringLiteral("refused: more than 20 compression pointers in a name") });
    }
    row("truncated", (header(1) + nas).chopped(3), { "refused: truncated message" });
    row("counts larger than the message", header(1000) + nas,
        { "refused: record counts larger than the message" });
    row("64-byte label", header(1) + record(name({ QByteArray(64, 'a') }), 1, a),
        { "refused: label over 63 bytes" });
    const QByteArray label(59, 'a');
    row("300-character name", header(1) + record(name({ label, label, label, label, label }), 1, a),
        { "refused: name over 255 bytes" });
    row("over 9000 bytes", header(0) + QByteArray(9000, '\0'),
        { "refused: message over 9000 bytes" });
    row("address of 5 bytes", header(1) + record(name({ "a" }), 1, "12345"),
        { "refused: address record of 5 bytes" });
    row("invalid UTF-8 dropped, the rest kept",
        header(2) + record(reverse, dns::TYPE_PTR, name({ "\xc3\x28" })) + nas,
        { nasLine, "dropped: name not in UTF-8" });
    row("control characters", header(1) + record(reverse, dns::TYPE_PTR, name({ "a\ab" })),
        { "dropped: name with control characters" });
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
    const QList<QStringList> names { { "5", "0", "0", "127", "in-addr", "arpa" } };
    const QByteArray message = dns::query(names, dns::TYPE_PTR, true);
    QCOMPARE(message, header(0, 1, 0) + reverse + u16(dns::TYPE_PTR) + u16(0x8001));
}

QTEST_GUILESS_MAIN(TestDnsMessage)
#include "tst_dnsmessage.moc"
