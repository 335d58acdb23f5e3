#include "DiscoveryRecords.h"
#include "LogCapture.h"
#include "ModelReset.h"
#include "RawStore.h"
#include "TestSupport.h"

#include <zelmw/networkmap/DiscoveryRecordLimits_p.h>
#include <zelmw/zelmw.h>

#include <QElapsedTimer>
#include <QtTest>

using namespace zelmw;
using Limits = DiscoveryRecordLimits;

namespace {

// The number of the last device made; each record is of a new device.
int lastDevice = 1;

// A new device's record with EXTRA more keys, the first of them of KEYLENGTH characters, each
// value of VALUELENGTH characters.
DiscoveryType deviceRecord(int extra = 0, int keyLength = 8, int valueLength = 1)
{
    DiscoveryType record = zeltest::device(DEVICE_TYPE_UNKNOWN_DEVICE, ++lastDevice);
    for (int i = 0; i < extra; ++i) {
        QString key = QStringLiteral("X%1").arg(i, 7, 10, QLatin1Char('0'));
        if (i == 0)
            key = key.leftJustified(keyLength, QLatin1Char('k'));
        record.insert(key, QString(valueLength, QLatin1Char('v')));
    }
    return record;
}

// The record with one more key whose value makes the record exactly LENGTH characters long.
DiscoveryType padded(DiscoveryType record, int length)
{
    const QString key = QStringLiteral("PAD");
    int total = key.size();
    for (auto entry = record.cbegin(); entry != record.cend(); ++entry)
        total += entry.key().size() + entry.value().size();
    record.insert(key, QString(length - total, QLatin1Char('v')));
    record.insert(DEVICE_PARAM_LAN_MACADDRESS, zeltest::mac(++lastDevice));
    return record;
}

DiscoveryType with(const QString &key, const QString &value)
{
    DiscoveryType record = deviceRecord();
    record.insert(key, value);
    return record;
}

DiscoveryType withClients(int entries)
{
    return with(WIRELESS_CLIENT_LIST,
                QStringLiteral("02:00:00:00:00:01#").repeated(entries).chopped(1));
}

int catalogueRows()
{
    return zeltest::RawStore().rowCount(QStringLiteral("MapObjectParameters"));
}

QStringList refusals(const zeltest::LogCapture &log)
{
    return log.messages().filter(QStringLiteral(" - record refused: "));
}

} // namespace

class TestRecordLimits : public QObject
{
    Q_OBJECT

    int m_mapId = 0;
    QSet<QString> m_warned;

    NetworkMapSharedPtr map() { return NetworkMapFactory::getInstance()->getNetworkMap(m_mapId); }

private slots:
    void initTestCase()
    {
        QVERIFY(zeltest::resetModel());
        const NetworkMapSharedPtr created = NetworkMapFactory::getInstance()->addNetworkMap(
            QStringLiteral("02:00:00:00:00:01"), QString(), QStringLiteral("home"));
        QVERIFY(created);
        m_mapId = created->getId();
    }

    // At each bound a record is applied whole; one past it, refused whole with a warning that
    // names the bound and not a character of the record.
    void bounds_data()
    {
        QTest::addColumn<DiscoveryType>("record");
        QTest::addColumn<QString>("bound");
        const int base = deviceRecord().size();
        const QString none;
        QTest::newRow("keys at") << deviceRecord(Limits::MAX_KEYS - base) << none;
        QTest::newRow("keys past")
            << deviceRecord(Limits::MAX_KEYS - base + 1) << QStringLiteral("more than 1000 keys");
        QTest::newRow("key at") << deviceRecord(1, Limits::MAX_KEY_LENGTH) << none;
        QTest::newRow("key past") << deviceRecord(1, Limits::MAX_KEY_LENGTH + 1)
                                  << QStringLiteral("a key longer than 256 characters");
        QTest::newRow("value at") << deviceRecord(1, 8, Limits::MAX_VALUE_LENGTH) << none;
        QTest::newRow("value past") << deviceRecord(1, 8, Limits::MAX_VALUE_LENGTH + 1)
                                    << QStringLiteral("a value longer than 65536 characters");
        const DiscoveryType large = deviceRecord(16, 8, 62000);
        QTest::newRow("record at") << padded(large, Limits::MAX_RECORD_LENGTH) << none;
        QTest::newRow("record past") << padded(large, Limits::MAX_RECORD_LENGTH + 1)
                                     << QStringLiteral("more than 1048576 characters");
        QTest::newRow("clients at") << withClients(Limits::MAX_CLIENT_LIST_ENTRIES) << none;
        QTest::newRow("clients past") << withClients(Limits::MAX_CLIENT_LIST_ENTRIES + 1)
                                      << QStringLiteral("more than 1000 entries in "
                                                        "WIRELESS_CLIENT_LIST");
        const QString unpaired = QStringLiteral("an unpaired UTF-16 surrogate");
        QTest::newRow("lone high")
            << with(UPNP_PARAM_FRIENDLYNAME, QString(QChar(0xd83d)) + QLatin1Char('x')) << unpaired;
        QTest::newRow("lone low") << with(UPNP_PARAM_FRIENDLYNAME, QString(QChar(0xde00)))
                                  << unpaired;
        QTest::newRow("high at end")
            << with(UPNP_PARAM_FRIENDLYNAME, QStringLiteral("x") + QChar(0xd83d)) << unpaired;
    }

    void bounds()
    {
        QFETCH(DiscoveryType, record);
        QFETCH(QString, bound);
        const QString mac = record.value(DEVICE_PARAM_LAN_MACADDRESS).toUpper();
        const int catalogueBefore = catalogueRows();
        zeltest::LogCapture log(LOGGER_NAME);
        QCOMPARE(DiscoveryHandler::refusalReason(record), bound); // silently
        QElapsedTimer clock;
        clock.start();
        const NetworkMap::NetworkMapObjectPtr device = map()->addDiscovery(record);
        // The model lock is held for the call; the user interface waits on it.
        const qint64 heldMs = clock.elapsed();
        if (bound.isEmpty()) {
            QVERIFY(device);
            qInfo("%s: applied in %lld ms", QTest::currentDataTag(), heldMs);
            QVERIFY(catalogueRows() - catalogueBefore <= Limits::MAX_KEYS);
            return;
        }
        QVERIFY(!device);
        QVERIFY(!map()->getNwMapObject(mac));
        QCOMPARE(catalogueRows(), catalogueBefore);
        // One line per burst: a bound met again soon after is not logged again.
        const QStringList expected { QStringLiteral("NetworkMap::addDiscovery - record refused: ")
                                     + bound };
        QCOMPARE(refusals(log), m_warned.contains(bound) ? QStringList() : expected);
        m_warned.insert(bound);
    }

    // Text inside the bounds is stored and read back verbatim, also by a fresh load.
    void hostileTextVerbatim()
    {
        const QString texts[] = {
            QStringLiteral("'; DROP TABLE NetworkMapObjects; --"),
            QStringLiteral("\"quoted\" and 'single' \\ backslash %1 %s"),
            QString::fromUtf8("Grüße — 東京 \xF0\x9F\x98\x80"),
            QStringLiteral("nul") + QChar(0) + QStringLiteral("inside"),
            QStringLiteral("<detail value=\"&amp;\"/>\n\ttab"),
        };
        DiscoveryType record = deviceRecord();
        int i = 0;
        for (const QString &text : texts)
            record.insert(QStringLiteral("K%1 ").arg(i++) + text, text);
        const QString mac = record.value(DEVICE_PARAM_LAN_MACADDRESS).toUpper();
        QVERIFY(map()->addDiscovery(record));
        zeltest::forgetModel();
        const NetworkMap::NetworkMapObjectPtr device = map()->getNwMapObject(mac);
        QVERIFY(device);
        const QMap<QString, QString> stored = device->getDetailNameValueMap();
        for (auto entry = record.cbegin(); entry != record.cend(); ++entry) {
            if (entry.key() != NS_DEVICE_TYPE)
                QCOMPARE(stored.value(entry.key()), entry.value());
        }
    }

    // Absurd records never reach the queue, warn once per burst, and the listener goes on.
    void absurdRecordsAtTheQueue()
    {
        DiscoveryHandler handler;
        handler.setListenerInterval(0);
        DiscoveryType manyKeys = deviceRecord(100000);
        DiscoveryType hugeValue
            = with(UPNP_PARAM_FRIENDLYNAME, QString(10 * 1024 * 1024, QLatin1Char('v')));
        DiscoveryType longMac = deviceRecord();
        longMac.insert(DEVICE_PARAM_LAN_MACADDRESS, QString(10000, QLatin1Char('a')));
        const qint64 processed = handler.processedDiscoveryCount();
        zeltest::LogCapture log(LOGGER_NAME);
        for (int i = 0; i < 20; ++i) {
            for (const DiscoveryType *record : { &manyKeys, &hugeValue })
                QVERIFY(!handler.addDiscovery(*record));
        }
        const QString refused = QStringLiteral("DiscoveryHandler::addDiscovery - record refused: ");
        QCOMPARE(refusals(log),
                 QStringList({ refused + QStringLiteral("more than 1000 keys"),
                               refused
                                   + QStringLiteral("a value longer than 65536 "
                                                    "characters") }));
        QCOMPARE(handler.pendingDiscoveryCount(), 0);
        // The listener goes on with what fits, a MAC no device can have included.
        QVERIFY(zeltest::apply({ longMac, deviceRecord() }));
        QCOMPARE(handler.processedDiscoveryCount(), processed + 2);
        QVERIFY(!map()->addDiscovery(longMac));
    }
};

ZEL_TEST_MAIN(TestRecordLimits)
#include "tst_recordlimits.moc"
