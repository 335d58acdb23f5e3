#include <zelmw/persistence/DbConfigXmlReader.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QMap>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using zelmw::ConfigXmlProperty;
using zelmw::DbConfigXmlReader;

namespace {

const QString INVALID = QStringLiteral("xml document is invalid: ");

QByteArray propertyXml(const QByteArray &key, const QByteArray &val,
                       const QByteArray &overwrite = {})
{
    QByteArray xml = "    <property>\n      <key>" + key + "</key>\n      <val>" + val + "</val>\n";
    if (!overwrite.isNull())
        xml += "      <overwrite>" + overwrite + "</overwrite>\n";
    return xml + "    </property>\n";
}

QByteArray document(const QByteArray &properties, const QByteArray &rootAttributes = {},
                    const QByteArray &prolog = {})
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + prolog + "<zel" + rootAttributes
        + ">\n  <config-properties>\n" + properties + "  </config-properties>\n</zel>\n";
}

} // namespace

class TestDbConfigXmlReader : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    // Stands in for any server a hostile document names; nothing may ever connect to it.
    QTcpServer m_server;
    QByteArray m_serverUrl;

    QString write(const QString &name, const QByteArray &content)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(content) != content.size())
            return QString();
        return file.fileName();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        m_serverUrl = "http://127.0.0.1:" + QByteArray::number(m_server.serverPort());
    }

    void cleanup()
    {
        m_server.waitForNewConnection(50);
        const bool connected = m_server.hasPendingConnections();
        // Drop the connection so one fault is reported once, not by every later test.
        while (m_server.hasPendingConnections())
            delete m_server.nextPendingConnection();
        QVERIFY2(!connected, "the reader connected to a named server");
    }

    // The error names the first failure and outlives later parses; a failure appends nothing.
    void errorIsKeptAndFailuresAppendNothing()
    {
        // A bare name is looked up in the current directory, which holds no zelconfig.xml.
        DbConfigXmlReader reader(QStringLiteral("zelconfig.xml"));
        QList<ConfigXmlProperty> properties { ConfigXmlProperty { "kept", "1", false } };
        QVERIFY(!reader.parseConfigProperties(properties));
        // Every element of the schema is global, so this root passes validation.
        reader.setFileName(write("root.xml",
                                 "<?xml version=\"1.0\"?>\n<config-properties>"
                                     + propertyXml("k", "v") + "</config-properties>\n"));
        QVERIFY(!reader.parseConfigProperties(properties));
        QCOMPARE(properties.size(), 1);

        reader.setFileName(write("good.xml", document(propertyXml("k", "v"))));
        QVERIFY(reader.parseConfigProperties(properties));
        QCOMPARE(properties.size(), 2);
        QCOMPARE(reader.getLastError(), INVALID + "zelconfig.xml");
    }

    void readsPropertiesInOrderAndAppends()
    {
        // The schema sets no upper bound on the number of properties.
        QByteArray many;
        for (int i = 0; i < 500; ++i)
            many += propertyXml("key" + QByteArray::number(i), QByteArray::number(i));
        const QString path
            = write("props.xml",
                    document(propertyXml("a", "1", "false") + propertyXml("b", "2", "1")
                             + propertyXml("c", "3", "true") + propertyXml("d", "4")
                             + propertyXml("", "dropped") + propertyXml("e", "")
                             + "    <!-- comments are not properties -->\n"
                             + propertyXml("a", "again") + many));
        DbConfigXmlReader reader(path);
        QList<ConfigXmlProperty> properties { ConfigXmlProperty { "pre", "x", false } };
        QVERIFY2(reader.parseConfigProperties(properties), qPrintable(reader.getLastError()));

        QStringList read;
        for (const ConfigXmlProperty &property : properties.mid(0, 7))
            read << property.key + '=' + property.val + (property.overwrite ? " overwrite" : "");
        QCOMPARE(read,
                 QStringList({ "pre=x", "a=1", "b=2", "c=3 overwrite", "d=4 overwrite",
                               "e= overwrite", "a=again overwrite" }));
        QCOMPARE(properties.size(), 7 + 500);
        QCOMPARE(properties.last().key, QStringLiteral("key499"));
    }

    // The shipped file seeds the lease the devices fall back on without one; the map in use,
    // which the program changes at run time, must survive the next start-up.
    void readsShippedConfiguration()
    {
        DbConfigXmlReader reader(QStringLiteral(ZEL_SOURCE_DIR "/config/zelconfig.xml"));
        QList<ConfigXmlProperty> properties;
        QVERIFY2(reader.parseConfigProperties(properties), qPrintable(reader.getLastError()));
        QMap<QString, ConfigXmlProperty> byKey;
        for (const ConfigXmlProperty &property : qAsConst(properties))
            byKey.insert(property.key, property);
        QCOMPARE(byKey.value(zelmw::DEFAULT_LEASE_TIME).val, zelmw::DEFAULT_LEASE_TIME_DEFAULT);
        QVERIFY(byKey.contains(zelmw::INUSE_NETWORKMAP_ID));
        QVERIFY(!byKey.value(zelmw::INUSE_NETWORKMAP_ID).overwrite);
    }

    void refusesHostileDocument_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray valid = propertyXml("k", "v");
        const QByteArray withEntity = propertyXml("k", "&x;");

        const QByteArray xsi = " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:";
        QTest::newRow("noNamespaceSchemaLocation over http")
            << document(valid, xsi + "noNamespaceSchemaLocation=\"" + m_serverUrl + "/zel.xsd\"");
        QTest::newRow("schemaLocation over http")
            << document(valid, xsi + "schemaLocation=\"urn:zel " + m_serverUrl + "/zel.xsd\"");
        // The named schema is a copy of the embedded one, so the document would pass if the
        // validator were allowed to read it and carry on.
        QFile embedded(QStringLiteral(":/xml_schema/zelconfig_schema.xsd"));
        QVERIFY(embedded.open(QIODevice::ReadOnly));
        const QString schemaPath = write("external.xsd", embedded.readAll());
        QTest::newRow("schema file")
            << document(valid,
                        xsi + "noNamespaceSchemaLocation=\""
                            + QUrl::fromLocalFile(schemaPath).toEncoded() + "\"");
        QTest::newRow("relative schema file")
            << document(valid, xsi + "noNamespaceSchemaLocation=\"external.xsd\"");
        QTest::newRow("schema violation") << document(propertyXml("k", "v", "yes"));
        QTest::newRow("oversized")
            << document(valid) + "<!--" + QByteArray(1024 * 1024, ' ') + "-->\n";
        QTest::newRow("external DTD")
            << document(valid, {}, "<!DOCTYPE zel SYSTEM \"" + m_serverUrl + "/zel.dtd\">\n");
        QTest::newRow("external entity") << document(
            withEntity, {}, "<!DOCTYPE zel [<!ENTITY x SYSTEM \"" + m_serverUrl + "/x\">]>\n");

        // Nine levels of ten references each: 10^9 copies of "lol".
        QByteArray nested = "<!DOCTYPE zel [\n<!ENTITY x0 \"lol\">\n";
        for (int i = 1; i <= 9; ++i) {
            nested += "<!ENTITY x" + QByteArray::number(i) + " \"";
            for (int j = 0; j < 10; ++j)
                nested += "&x" + QByteArray::number(i - 1) + ";";
            nested += "\">\n";
        }
        nested += "<!ENTITY x \"&x9;\">\n]>\n";
        QTest::newRow("nested expansion") << document(withEntity, {}, nested);

        // One 50 KB entity referenced 20,000 times: a 110 KB file that expands to 1 GB.
        const QByteArray flatDtd
            = "<!DOCTYPE zel [<!ENTITY x \"" + QByteArray(50000, 'a') + "\">]>\n";
        QByteArray references;
        for (int i = 0; i < 20000; ++i)
            references += "&x;";
        QTest::newRow("flat expansion") << document(propertyXml("k", references), {}, flatDtd);
    }

    void refusesHostileDocument()
    {
        QFETCH(QByteArray, content);
        const QString path = write("hostile.xml", content);
        DbConfigXmlReader reader(path);
        QList<ConfigXmlProperty> properties;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!reader.parseConfigProperties(properties));
        const qint64 elapsed = timer.elapsed();
        QCOMPARE(reader.getLastError(), INVALID + path);
        QVERIFY(properties.isEmpty());
        QVERIFY2(elapsed < 2000, qPrintable(QStringLiteral("took %1 ms").arg(elapsed)));
    }
};

QTEST_GUILESS_MAIN(TestDbConfigXmlReader)
#include "tst_dbconfigxmlreader.moc"
