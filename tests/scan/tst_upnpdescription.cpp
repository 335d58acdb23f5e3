#include "UpnpTestData.h"

#include <zelscan/upnp/DeviceDescription_p.h>

#include <QtTest>

using upnptest::file;

// Device descriptions as devices serve them, and as attackers would; the fields expected of
// the good ones are in upnp/descriptions.expected.
class TestUpnpDescription : public QObject
{
    Q_OBJECT

private slots:
    void description_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("refusal");
        const QByteArray igd = file("igd.xml");
        // Embedded devices ignored, the relative presentation URL resolved, entities decoded.
        QTest::newRow("gateway") << igd << QString();
        // A presentation URL that is a script is dropped.
        QTest::newRow("media-server") << file("mediaserver.xml") << QString();
        QTest::newRow("entity bomb")
            << file("billion-laughs.xml") << QStringLiteral("document type declaration");
        QTest::newRow("external entity")
            << file("external-entity.xml") << QStringLiteral("document type declaration");
        QTest::newRow("invalid UTF-8") << QByteArray(igd).replace("HomeHub 3000", "Home\xc3\x28Hub")
                                       << QStringLiteral("invalid UTF-8");
        QTest::newRow("field too long")
            << QByteArray(igd).replace("HomeHub 3000", QByteArray(2000, 'x'))
            << QStringLiteral("field too long");
        QTest::newRow("not XML") << QByteArray("HTTP/1.1 200 OK\r\n\r\n<html>")
                                 << QStringLiteral("invalid XML at line 1");
        QTest::newRow("truncated")
            << igd.left(igd.size() / 2) << QStringLiteral("invalid XML at line 14");
        QTest::newRow("another root")
            << QByteArray("<html><device/></html>") << QStringLiteral("not a device description");
    }

    void description()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, refusal);
        const auto parsed = zelscan::upnp::parseDeviceDescription(
            document, QUrl(QStringLiteral("http://127.0.0.1:49152/desc/igd.xml")));
        QCOMPARE(parsed.refusal, refusal);
        QCOMPARE(parsed.fields,
                 upnptest::expectedRecords("descriptions.expected").value(QTest::currentDataTag()));
    }
};

QTEST_GUILESS_MAIN(TestUpnpDescription)
#include "tst_upnpdescription.moc"
