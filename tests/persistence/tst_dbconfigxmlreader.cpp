#include <zelmw/persistence/DbConfigXmlReader.h>

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

private slots:
    void initTestCase();
    void cleanup();

    void missingFileThenSuccessKeepsError();
    void readsPropertiesInOrderAndAppends();
    void wrongRootLeavesErrorUnchanged();
    void emptyListAppendsNothing();
    void readsMoreThanAHundredProperties();
    void readsShippedConfiguration();

    void refusesHostileDocument_data();
    void refusesHostileDocument();
    void refusesSchemaLocationFile();
    void refusesOversizedFile();

private:
    QString write(const QString &name, const QByteArray &content);
    void expectRefused(const QString &path);

    QTemporaryDir m_dir;
    // Stands in for any server a hostile document names; nothing may ever connect to it.
    QTcpServer m_server;
    QByteArray m_serverUrl;
};

void TestDbConfigXmlReader::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir::setCurrent(m_dir.path()));
    QVERIFY(m_server.listen(QHostAddress::LocalHost));
    m_serverUrl = "http://127.0.0.1:" + QByteArray::number(m_server.serverPort());
}

void TestDbConfigXmlReader::cleanup()
{
    m_server.waitForNewConnection(50);
    const bool connected = m_server.hasPendingConnections();
    // Drop the connection so one fault is reported once, not by every later test.
    while (m_server.hasPendingConnections())
        delete m_server.nextPendingConnection();
    QVERIFY2(!connected, "the reader connected to a named server");
}

QString TestDbConfigXmlReader::write(const QString &name, const QByteArray &content)
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(content) != content.size())
        return QString();
    return file.fileName();
}

void TestDbConfigXmlReader::expectRefused(const QString &path)
{
    QVERIFY(!path.isEmpty());
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

void TestDbConfigXmlReader::missingFileThenSuccessKeepsError()
{
    // A bare name is looked up in the current directory, which holds no zelconfig.xml.
    DbConfigXmlReader reader(QStringLiteral("zelconfig.xml"));
    QVERIFY(reader.getLastError().isNull());
    QList<ConfigXmlProperty> properties { ConfigXmlProperty { "kept", "1", false } };
    QVERIFY(!reader.parseConfigProperties(properties));
    QCOMPARE(reader.getLastError(), QStringLiteral("xml document is invalid: zelconfig.xml"));
    QCOMPARE(properties.size(), 1);

    reader.setFileName(write("good.xml", document(propertyXml("k", "v"))));
    QVERIFY(reader.parseConfigProperties(properties));
    QCOMPARE(properties.size(), 2);
    QCOMPARE(reader.getLastError(), QStringLiteral("xml document is invalid: zelconfig.xml"));
}

void TestDbConfigXmlReader::readsPropertiesInOrderAndAppends()
{
    const QString path = write("props.xml",
                               document(propertyXml("a", "1", "false") + propertyXml("b", "2", "1")
                                        + propertyXml("c", "3", "true") + propertyXml("d", "4")
                                        + propertyXml("", "dropped") + propertyXml("e", "")
                                        + "    <!-- comments are not properties -->\n"
                                        + propertyXml("a", "again")));
    DbConfigXmlReader reader(path);
    QList<ConfigXmlProperty> properties { ConfigXmlProperty { "pre", "x", false } };
    QVERIFY(reader.parseConfigProperties(properties));
    QVERIFY(reader.getLastError().isNull());

    const QStringList keys { "pre", "a", "b", "c", "d", "e", "a" };
    const QStringList vals { "x", "1", "2", "3", "4", "", "again" };
    const QList<bool> overwrites { false, false, false, true, true, true, true };
    QCOMPARE(properties.size(), keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        QCOMPARE(properties[i].key, keys[i]);
        QCOMPARE(properties[i].val, vals[i]);
        QCOMPARE(properties[i].overwrite, overwrites[i]);
    }
    // An empty value is a value, not a missing one.
    QVERIFY(!properties[5].val.isNull());
}

void TestDbConfigXmlReader::wrongRootLeavesErrorUnchanged()
{
    // Every element of the schema is global, so this root passes validation.
    const QString path = write("root.xml",
                               "<?xml version=\"1.0\"?>\n<config-properties>"
                                   + propertyXml("k", "v") + "</config-properties>\n");
    DbConfigXmlReader reader(QStringLiteral("zelconfig.xml"));
    QList<ConfigXmlProperty> properties;
    QVERIFY(!reader.parseConfigProperties(properties));
    reader.setFileName(path);
    QVERIFY(!reader.parseConfigProperties(properties));
    QCOMPARE(reader.getLastError(), QStringLiteral("xml document is invalid: zelconfig.xml"));
    QVERIFY(properties.isEmpty());
}

void TestDbConfigXmlReader::emptyListAppendsNothing()
{
    DbConfigXmlReader reader(write("empty.xml", "<zel><config-properties/></zel>"));
    QList<ConfigXmlProperty> properties;
    QVERIFY(reader.parseConfigProperties(properties));
    QVERIFY(properties.isEmpty());
}

void TestDbConfigXmlReader::readsMoreThanAHundredProperties()
{
    QByteArray body;
    for (int i = 0; i < 500; ++i)
        body += propertyXml("key" + QByteArray::number(i), QByteArray::number(i));
    DbConfigXmlReader reader(write("many.xml", document(body)));
    QList<ConfigXmlProperty> properties;
    QVERIFY2(reader.parseConfigProperties(properties), qPrintable(reader.getLastError()));
    QCOMPARE(properties.size(), 500);
    QCOMPARE(properties.last().key, QStringLiteral("key499"));
}

void TestDbConfigXmlReader::readsShippedConfiguration()
{
    const QMap<QString, QString> defaults {
        { "INUSE_NETWORKMAP_ID", "0" },
        { "VEL_CPE_DEFAULT_PASSWORDS", "pelto;vanst" },
        { "DEFAULT_LEASE_TIME", "3600" },
        { "AUTO_UPDATE_CHECK_INTERVAL", "120000" },
        { "WARRANTYREGISTRATION_CHECK_INTERVAL", "150000" },
        { "WARRANTYREGISTRATION_DONT_REGISTER_DEVICEIDS", "" },
        { "ZEL_TROOBLESHOOTING_ENABLED", "1" },
        { "ZEL_CONFIG_WARRANTY_DEFAULT_IS_DONTREGISTER", "0" },
        { "NS_ARP_LISTEN_TIMEOUT", "12000" },
        { "NS_ARP_BROADCAST_TIMEOUT", "30" },
        { "NS_DHCP_LISTEN_TIMEOUT", "3000" },
        { "NS_DHCP_BROADCAST_TIMEOUT", "500" },
        { "NS_SSDP_LISTEN_TIMEOUT", "3000" },
        { "NS_SSDP_BROADCAST_TIMEOUT", "500" },
        { "RESOURCES_ROOT_DIR", "./themes" },
        { "DEFAULT_THEME_NAME", "theme1" },
        { "LAYOUT_RESOURCES_FOLDER_NAME", "layouts" },
        { "IMAGE_RESOURCES_FOLDER_NAME", "images" },
        { "STYLE_RESOURCES_FOLDER_NAME", "stylesheet" },
        { "DEFAULT_STYLESHEET_FILE", "zel.qss" },
        { "SETUP_INI_FILE_NAME", "ActiveDevice.ini" },
        { "SETUP_INI_FILE_LOOKUP_DIR", "QDesktopServices::TempLocation" },
        { "SETUP_INI_FILE_BACKUP_DIR", "QDesktopServices::TempLocation" },
    };
    DbConfigXmlReader reader(QStringLiteral(ZEL_SOURCE_DIR "/config/zelconfig.xml"));
    QList<ConfigXmlProperty> properties;
    QVERIFY2(reader.parseConfigProperties(properties), qPrintable(reader.getLastError()));

    QMap<QString, ConfigXmlProperty> byKey;
    for (const ConfigXmlProperty &p : qAsConst(properties))
        byKey.insert(p.key, p);
    QCOMPARE(byKey.size(), properties.size());
    QCOMPARE(byKey.size(), defaults.size() + 2);
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
        QCOMPARE(byKey.value(it.key()).val, it.value());
    // The host is ours to configure; the paths are fixed.
    QVERIFY(QUrl(byKey.value("LIVE_UPDATE_SERVER_URL").val).path() == "/liveupdate/v4/upgrade.xml");
    QVERIFY(QUrl(byKey.value("WARRANTYREGISTRATION_SERVER_URL_KEY").val).path() == "/register/v3/");
    // Values the program changes at run time must survive the next start-up.
    QVERIFY(!byKey.value("INUSE_NETWORKMAP_ID").overwrite);
}

void TestDbConfigXmlReader::refusesHostileDocument_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray valid = propertyXml("k", "v");
    const QByteArray withEntity = propertyXml("k", "&x;");

    QTest::newRow("noNamespaceSchemaLocation over http")
        << document(valid,
                    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                    " xsi:noNamespaceSchemaLocation=\""
                        + m_serverUrl + "/zel.xsd\"");
    QTest::newRow("schemaLocation over http")
        << document(valid,
                    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                    " xsi:schemaLocation=\"urn:zel "
                        + m_serverUrl + "/zel.xsd\"");
    QTest::newRow("external DTD") << document(
        valid, {}, "<!DOCTYPE zel SYSTEM \"" + m_serverUrl + "/zel.dtd\">\n");
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
    const QByteArray flatDtd = "<!DOCTYPE zel [<!ENTITY x \"" + QByteArray(50000, 'a') + "\">]>\n";
    QByteArray references;
    for (int i = 0; i < 20000; ++i)
        references += "&x;";
    QTest::newRow("flat expansion") << document(propertyXml("k", references), {}, flatDtd);
}

void TestDbConfigXmlReader::refusesHostileDocument()
{
    QFETCH(QByteArray, content);
    expectRefused(write("hostile.xml", content));
}

void TestDbConfigXmlReader::refusesSchemaLocationFile()
{
    // The named schema is a copy of the embedded one, so the document would pass if the
    // validator were allowed to read it and carry on.
    QFile embedded(QStringLiteral(":/xml_schema/zelconfig_schema.xsd"));
    QVERIFY(embedded.open(QIODevice::ReadOnly));
    const QString schemaPath = write("external.xsd", embedded.readAll());
    QVERIFY(!schemaPath.isEmpty());
    const QByteArray url = QUrl::fromLocalFile(schemaPath).toEncoded();

    expectRefused(write("file-schema.xml",
                        document(propertyXml("k", "v"),
                                 " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                                 " xsi:noNamespaceSchemaLocation=\""
                                     + url + "\"")));
    expectRefused(write("relative-schema.xml",
                        document(propertyXml("k", "v"),
                                 " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                                 " xsi:noNamespaceSchemaLocation=\"external.xsd\"")));
}

void TestDbConfigXmlReader::refusesOversizedFile()
{
    const QByteArray padding = "<!--" + QByteArray(1024 * 1024, ' ') + "-->\n";
    expectRefused(write("big.xml", document(propertyXml("k", "v")) + padding));
}

QTEST_GUILESS_MAIN(TestDbConfigXmlReader)
#include "tst_dbconfigxmlreader.moc"
