#include <zelmw/networkmap/ConnectionRules_p.h>

#include <QtTest>

#include <ctime>

using zelmw::ConnectionRules;
using Change = ConnectionRules::Change;

Q_DECLARE_METATYPE(ConnectionRules::Change)

namespace {

const QDateTime NOW = QDateTime::fromSecsSinceEpoch(1800000000);

// Sets the process's time zone as another start would find it.
void setTimeZone(const char *zone)
{
    qputenv("TZ", zone);
    tzset();
}

} // namespace

class TestConnectionRules : public QObject
{
    Q_OBJECT

private slots:
    // A disconnected device reported disconnected again, SECONDS after its disconnect time,
    // under a lease of an hour: the lease ends at exactly an hour.
    void leaseEndsAtItsLength_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<Change>("change");
        QTest::newRow("a second before") << 3599 << Change::None;
        QTest::newRow("at the end") << 3600 << Change::LeaseExpired;
        QTest::newRow("long after") << 90000 << Change::LeaseExpired;
        QTest::newRow("a time in the future") << -60 << Change::None;
    }
    void leaseEndsAtItsLength()
    {
        QFETCH(int, seconds);
        QFETCH(Change, change);
        ConnectionRules rules(false, 3600);
        QCOMPARE(rules.report(false, false, NOW.addSecs(-seconds), NOW), change);
        QCOMPARE(rules.report(false, true, QDateTime(), NOW), Change::None);
    }

    // A device disconnected under one time zone keeps its instant under another: a laptop
    // that travels must not delete its home network's devices early. Times stored without
    // an offset, by earlier releases, are local time.
    void disconnectTimeKeepsItsInstant()
    {
        const QByteArray zone = qgetenv("TZ");
        setTimeZone("UTC-10");
        const QDateTime disconnected = QDateTime::currentDateTime();
        const qint64 instant = disconnected.toSecsSinceEpoch();
        const QString stored = ConnectionRules::formatTime(disconnected);
        QVERIFY2(stored.endsWith(QLatin1String("+10:00")), qPrintable(stored));
        const QString oldForm = disconnected.toString(Qt::ISODate);
        setTimeZone("UTC+10");
        const QDateTime now = QDateTime::currentDateTime();
        QCOMPARE(ConnectionRules::parseTime(stored).toSecsSinceEpoch(), instant);
        QVERIFY(
            !ConnectionRules(false, 3600).isLeaseExpired(ConnectionRules::parseTime(stored), now));
        QCOMPARE(ConnectionRules::parseTime(oldForm).timeSpec(), Qt::LocalTime);
        QVERIFY(!ConnectionRules::parseTime(QStringLiteral("yesterday")).isValid());
        setTimeZone(zone.isNull() ? "" : zone.constData());
    }
};

QTEST_APPLESS_MAIN(TestConnectionRules)
#include "tst_connectionrules.moc"
