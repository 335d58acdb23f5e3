// The tool as a script sees it: exit statuses, stdout documents, stderr messages. Any device may
// call itself anything: whatever the name, terminals see it escaped, drawings show it as text,
// scripts get it exact.
#include <graphviz/cgraph.h>

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

namespace {

// The tool run as a child process on a store in DATADIR (ZELMAP_BINARY names the program).
struct Result
{
    int status;
    QByteArray out;
    QByteArray err;
};

std::unique_ptr<QProcess> start(const QString &dataDir, const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral(ZELMAP_BINARY),
                   QStringList { "--data-dir", dataDir } + arguments);
    return process;
}

Result zelmap(const QString &dataDir, const QStringList &arguments, int timeoutMs = 60000)
{
    const std::unique_ptr<QProcess> process = start(dataDir, arguments);
    if (!process->waitForFinished(timeoutMs))
        return { -1, QByteArray(), "timed out" };
    return { process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
             process->readAllStandardOutput(), process->readAllStandardError() };
}

const QString SMALL_SCAN = QStringLiteral(ZELMAP_FIXTURES "/small-scan.jsonl");

// What `show --json` says, one compact line per object: the map, then each device with its
// Wi-Fi password as shown in place of its details, which the kill-recovery test compares.
QStringList summary(const QByteArray &json)
{
    const QJsonObject document = QJsonDocument::fromJson(json).object();
    QStringList lines { QJsonDocument(document["map"].toObject()).toJson(QJsonDocument::Compact) };
    for (const QJsonValue &value : document["devices"].toArray()) {
        QJsonObject device = value.toObject();
        device.insert("details", device.value("details")["GATEWAY_PARAM_WIRELESS_PASSWORD"]);
        lines << QJsonDocument(device).toJson(QJsonDocument::Compact);
    }
    return lines;
}

// More than the trials can finish, so every kill lands in the middle of a replay.
const int RECORDS = 5000;

QString integrityCheck(const QString &path)
{
    QString answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "check");
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next())
            answer = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase("check");
    return answer;
}

// zelmap run by "sh -c SCRIPT", which gets it as $0 and its data directory and ARGUMENTS as "$@".
Result throughShell(const QString &script, const QString &dataDir, const QStringList &arguments)
{
    QProcess process;
    process.start("sh",
                  QStringList { "-c", script, ZELMAP_BINARY, "--data-dir", dataDir } + arguments);
    process.waitForFinished(60000);
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
             process.readAllStandardOutput(), process.readAllStandardError() };
}

// Device N (1 the gateway) at 10.0.0.N, named NAME (an empty name leaves the address).
QJsonObject deviceRecord(int n, const QString &name = QStringLiteral("device"))
{
    const QString mac = QStringLiteral("%1").arg(n, 6, 16, QLatin1Char('0')).toUpper();
    return { { "NS_DEVICE_TYPE", n == 1 ? "GATEWAY" : "PC" },
             { "GATEWAY_PARAM_ISROUTER", n == 1 ? "1" : "0" },
             { "DEVICE_PARAM_LAN_MACADDRESS",
               "04:00:00:" + mac.left(2) + ':' + mac.mid(2, 2) + ':' + mac.right(2) },
             { "DEVICE_PARAM_LAN_IPADDRESS",
               QStringLiteral("10.%1.%2.%3").arg(n >> 16).arg(n >> 8 & 255).arg(n & 255) },
             { "UPNP_PARAM_FRIENDLYNAME", name } };
}

QString writeScan(const QTemporaryDir &dir, const QList<QJsonObject> &records)
{
    const QString path = dir.filePath(QStringLiteral("scan.jsonl"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    for (const QJsonObject &record : records)
        file.write(QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n');
    return path;
}

QJsonDocument json(const QString &dataDir, const QStringList &arguments)
{
    return QJsonDocument::fromJson(zelmap(dataDir, arguments).out);
}

// Whether OUTPUT holds a character a terminal would act on instead of showing it.
bool actsOnTerminal(const QByteArray &output)
{
    const QString text = QString::fromUtf8(output);
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const ushort u = c.unicode();
        return (u < 0x20 && u != '\n') || (u >= 0x7f && u <= 0x9f) || (u >= 0x202a && u <= 0x202e)
            || (u >= 0x2066 && u <= 0x2069);
    });
}

// The attributes set on each node of DOT, as Graphviz's own reader sees them.
QMap<QString, QVariantMap> dotNodes(const QByteArray &dot)
{
    QMap<QString, QVariantMap> nodes;
    Agraph_t *const graph = agmemread(dot.constData());
    for (Agnode_t *node = graph ? agfstnode(graph) : nullptr; node; node = agnxtnode(graph, node)) {
        QVariantMap &attributes = nodes[QString::fromUtf8(agnameof(node))];
        for (Agsym_t *symbol = agnxtattr(graph, AGNODE, nullptr); symbol;
             symbol = agnxtattr(graph, AGNODE, symbol)) {
            if (qstrcmp(agxget(node, symbol), symbol->defval) != 0)
                attributes.insert(symbol->name, QString::fromUtf8(agxget(node, symbol)));
        }
    }
    if (graph)
        agclose(graph);
    return nodes;
}

// The element and attribute names of SVG and the texts it draws; false when it is not XML.
bool readSvg(const QByteArray &svg, QSet<QString> &names, QStringList &texts)
{
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        names << xml.qualifiedName().toString();
        for (const QXmlStreamAttribute &attribute : xml.attributes())
            names << attribute.qualifiedName().toString();
        if (xml.name() == QLatin1String("text"))
            texts << xml.readElementText();
    }
    return !xml.hasError();
}

} // namespace

class TstZelmap : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_replayed; // the small scan, replayed once for the tests that read it
    QSet<QString> m_plainSvgNames; // what the SVG of a device named "plain" is made of

private slots:
    void initTestCase()
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path()));
        const Result replay
            = zelmap(m_replayed.path(), { "replay", SMALL_SCAN, "--interval", "0" });
        QVERIFY2(replay.status == 0, replay.err);
        QTemporaryDir dir;
        const QString scan
            = writeScan(dir, { deviceRecord(1, "Gateway"), deviceRecord(2, "plain") });
        QCOMPARE(zelmap(dir.path(), { "replay", scan, "--interval", "0" }).status, 0);
        QStringList texts;
        QVERIFY(readSvg(zelmap(dir.path(), { "export", "--format", "svg" }).out, m_plainSvgNames,
                        texts));
    }

    void replayThenShow()
    {
        // The PC is this host's, the plug failed its five pings, the password stays masked;
        // every address of this scan is a locally administered one.
        const QStringList shown {
            R"({"devices":4,"id":1,"inUse":true,"localPcId":2,"masterDeviceId":1,)"
            R"("name":"Velmora Home Network","nicGuid":"{11111111-2222-3333-4444-555555555555}",)"
            R"("serial":"@MAC:02:00:00:00:00:01"})",
            R"({"connected":true,"details":"********","id":1,"ip":"192.168.1.1",)"
            R"("mac":"02:00:00:00:00:01","name":"Test Router","randomMac":true,"type":"GATEWAY","wireless":false})",
            R"({"connected":true,"id":2,"ip":"192.168.1.10","mac":"02:00:00:00:00:0A",)"
            R"("name":"DESK","randomMac":true,"type":"PC","wireless":false})",
            R"({"connected":true,"id":3,"ip":"192.168.1.20","mac":"02:00:00:00:00:14",)"
            R"("name":"phone","randomMac":true,"type":"UNKNOWN_DEVICE","wireless":true})",
            R"({"connected":false,"id":4,"ip":"192.168.1.21","mac":"02:00:00:00:00:15",)"
            R"("name":"plug","randomMac":true,"type":"UNKNOWN_DEVICE","wireless":false})"
        };
        QCOMPARE(summary(zelmap(m_replayed.path(), { "show", "--json" }).out), shown);
        const Result secrets
            = zelmap(m_replayed.path(), { "device", "1", "--json", "--show-secrets" });
        QVERIFY2(secrets.out.contains("hunter22"), secrets.out);
        QCOMPARE(json(m_replayed.path(), { "maps", "--json" })[0]["devices"].toInt(), 4);
    }

    // One process writes a store: a second replay is refused whole while the first runs, reading
    // goes on beside it, and the store ends as one replay leaves it, no device twice.
    void oneWriterPerStore()
    {
        QTemporaryDir dir;
        const auto first = start(dir.path(), { "replay", SMALL_SCAN, "--interval", "200" });
        QVERIFY(first->waitForReadyRead(10000)); // its first record is stored
        const Result second = zelmap(dir.path(), { "replay", SMALL_SCAN, "--interval", "0" });
        const QByteArray holder
            = "being written by process " + QByteArray::number(first->processId()) + " (zelmap)";
        QVERIFY2(second.status == 1 && second.err.contains(holder), second.err);
        QCOMPARE(zelmap(dir.path(), { "maps" }).status, 0);
        QVERIFY(first->waitForFinished(60000) && first->exitCode() == 0);
        QCOMPARE(summary(zelmap(dir.path(), { "show", "--json" }).out),
                 summary(zelmap(m_replayed.path(), { "show", "--json" }).out));
    }

    void malformedFileRefused_data()
    {
        QTest::addColumn<QByteArray>("badLine");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not JSON") << QByteArray("{\"NS_DEVICE_TYPE\":")
                                  << QStringLiteral("not JSON");
        QTest::newRow("array") << QByteArray("[1,2]") << QStringLiteral("not a JSON object");
        QTest::newRow("number value") << QByteArray("{\"NS_DEVICE_TYPE\":\"PC\",\"X\":1}")
                                      << QStringLiteral("\"X\" is not a string");
        QTest::newRow("ping not bool") << QByteArray("{\"connection\":{\"192.168.1.1\":\"yes\"}}")
                                       << QStringLiteral("not true or false");
        QTest::newRow("no routing key") << QByteArray("{\"DEVICE_PARAM_NAME\":\"x\"}")
                                        << QStringLiteral("none of NS_DEVICE_TYPE");
        // The pipeline would refuse it: applied, it would leave the scan half stored.
        QTest::newRow("value over its bound")
            << "{\"NS_DEVICE_TYPE\":\"PC\",\"X\":\"" + QByteArray(70000, 'x') + "\"}"
            << QStringLiteral("record refused: a value longer than 65536 characters");
    }

    void malformedFileRefused()
    {
        QFETCH(QByteArray, badLine);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        // Line 12: the eleven lines of the small scan, a blank one among them, come first.
        const QString path = dir.filePath(QStringLiteral("bad.jsonl"));
        QFile bad(path);
        QVERIFY(QFile::copy(SMALL_SCAN, path) && bad.open(QIODevice::Append));
        QVERIFY(bad.write(badLine) > 0);
        bad.close();

        const Result replay = zelmap(dir.path(), { "replay", path });
        QCOMPARE(replay.status, 2);
        QVERIFY2(replay.err.startsWith((path + QStringLiteral(":12: ")).toUtf8()), replay.err);
        QVERIFY2(replay.err.contains(reason.toUtf8()), replay.err);
        QCOMPARE(json(dir.path(), { "maps", "--json" }).array().size(), 0);
    }

    void scanReadsFixtures()
    {
        QTemporaryDir dir;
        const Result scan = zelmap(
            dir.path(), { "scan", "--interval", "0", "--proc-net", ZELMAP_FIXTURES "/proc-net" });
        QVERIFY2(scan.status == 0, scan.err);
        // The incomplete neighbour is left out; the fixture's interface is not this host's.
        const QStringList shown {
            R"({"devices":2,"id":1,"inUse":true,"localPcId":0,"masterDeviceId":1,)"
            R"("name":"Velmora Home Network","nicGuid":"","serial":"@MAC:02:AA:00:00:00:FE"})",
            R"({"connected":true,"id":1,"ip":"192.168.1.254","mac":"02:AA:00:00:00:FE",)"
            R"("name":"192.168.1.254","randomMac":true,"type":"GATEWAY","wireless":false})",
            R"({"connected":true,"id":2,"ip":"192.168.1.77","mac":"02:AA:00:00:00:4D",)"
            R"("name":"192.168.1.77","randomMac":true,"type":"UNKNOWN_DEVICE","wireless":false})"
        };
        QCOMPARE(summary(zelmap(dir.path(), { "show", "--json" }).out), shown);
    }

    // The hosts that are up with a MAC address; this host (no MAC) and the down one left out.
    void importNmapReadsItsHosts()
    {
        QTemporaryDir dir;
        const QString file = ZELMAP_FIXTURES "/nmap-sn.xml";
        const Result import = zelmap(dir.path(),
                                     { "import", "nmap", file, "--interval", "0", "--proc-net",
                                       ZELMAP_FIXTURES "/proc-net" });
        QVERIFY2(import.status == 0, import.err);
        const QStringList shown {
            R"({"devices":2,"id":1,"inUse":true,"localPcId":0,"masterDeviceId":1,)"
            R"("name":"Velmora Home Network","nicGuid":"","serial":"@MAC:02:AA:00:00:00:FE"})",
            R"({"connected":true,"id":1,"ip":"192.168.1.254","mac":"02:AA:00:00:00:FE",)"
            R"("name":"192.168.1.254","randomMac":true,"type":"GATEWAY","wireless":false})",
            R"({"connected":true,"id":2,"ip":"192.168.1.77","mac":"02:AA:00:00:00:4D",)"
            R"("name":"printer.home","randomMac":true,"type":"UNKNOWN_DEVICE","wireless":false})"
        };
        QCOMPARE(summary(zelmap(dir.path(), { "show", "--json" }).out), shown);
    }

    // Another program's file: anything that could declare or fetch an entity is refused whole.
    void importNmapRefuses_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("gateway");
        QTest::addColumn<QString>("reason");
        const QByteArray host = "<host><status state=\"up\"/><address addr=\"10.0.0.1\" "
                                "addrtype=\"ipv4\"/><address addr=\"02:00:00:00:00:01\" "
                                "addrtype=\"mac\"/><hostnames><hostname name=\"&a;\"/>"
                                "</hostnames></host>";
        QTest::newRow("internal subset")
            << "<!DOCTYPE nmaprun [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>"
               "<nmaprun>"
                + host + "</nmaprun>"
            << "10.0.0.1"
            << "other than <!DOCTYPE nmaprun>";
        QTest::newRow("external DTD") << "<!DOCTYPE nmaprun SYSTEM \"http://127.0.0.1:9/x.dtd\">"
                                         "<nmaprun>"
                + host + "</nmaprun>"
                                      << "10.0.0.1"
                                      << "other than <!DOCTYPE nmaprun>";
        QTest::newRow("undeclared entity") << "<nmaprun>" + host + "</nmaprun>"
                                           << "10.0.0.1"
                                           << "not well-formed XML";
        QTest::newRow("not nmap") << QByteArray("<svg/>") << "10.0.0.1"
                                  << "its root is <svg>";
        QByteArray plain = host;
        plain.replace("&a;", "box");
        QTest::newRow("gateway absent") << "<nmaprun>" + plain + "</nmaprun>"
                                        << "10.0.0.2"
                                        << "the gateway 10.0.0.2 is not among its hosts";
    }

    void importNmapRefuses()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, gateway);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QFile file(dir.filePath("scan.xml"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(document) == document.size());
        file.close();
        const Result import
            = zelmap(dir.path(), { "import", "nmap", file.fileName(), "--gateway", gateway });
        QCOMPARE(import.status, 2);
        QVERIFY2(import.err.contains(reason.toUtf8()), import.err);
        QCOMPARE(json(dir.path(), { "maps", "--json" }).array().size(), 0);
    }

    void hostileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("drawn"); // the text a drawing shows
        const auto row = [](const char *tag, const QString &name, const QString &drawn) {
            QTest::newRow(tag) << name << (drawn.isNull() ? name : drawn);
        };
        row("quotes", R"(Living room "big" TV)", {});
        row("backslashes", R"(C:\new\N\G\\ end\)", {});
        row("line breaks", "two\nlines\r", R"(two\x0alines\x0d)");
        row("script", "<script>alert(1)</script>", {});
        row("entities", "Tom & Jerry &amp; &#1; &nbsp;", {});
        row("DOT syntax", "\"]; x [URL=\"javascript:alert(1)\"", {});
        row("HTML label", "<<b>x</b>>", {});
        row("clear screen", "\x1b[2J", R"(\x1b[2J)");
        row("clipboard", "\x1b]52;c;aGk=\x07", R"(\x1b]52;c;aGk=\x07)");
        row("window title", "\x1b]0;title\x07", R"(\x1b]0;title\x07)");
        row("C1 control", QChar(0x9b) + QStringLiteral("2J"), R"(\x9b2J)");
        row("right-to-left override", QChar(0x202e) + QStringLiteral("txt.exe"),
            R"(\u202etxt.exe)");
        row("64,000 characters", QString(64000, 'x'), QString(63, 'x') + QChar(0x2026));
        row("pair at the cut", QString(62, 'x') + QStringLiteral("\U0001F600").repeated(2),
            QString(62, 'x') + QChar(0x2026));
    }

    void hostileNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, drawn);
        QTemporaryDir dir;
        const QString scan = writeScan(dir, { deviceRecord(1, "Gateway"), deviceRecord(2, name) });
        const Result replay = zelmap(dir.path(), { "replay", scan, "--interval", "0" });
        QVERIFY2(replay.status == 0, replay.err.right(1000));

        QVERIFY(!actsOnTerminal(replay.out));
        for (const QStringList &command :
             { QStringList { "show" }, QStringList { "device", "2" } }) {
            const Result shown = zelmap(dir.path(), command);
            QVERIFY2(shown.status == 0 && !actsOnTerminal(shown.out), qPrintable(command[0]));
        }

        QCOMPARE(json(dir.path(), { "device", "2", "--json" })["name"].toString(), name);
        for (const QStringList &command :
             { QStringList { "show", "--json" }, QStringList { "export", "--format", "json" } })
            QCOMPARE(json(dir.path(), command)["devices"][1]["name"].toString(), name);

        // The same nodes with the same attributes as for the gateway's plain name; the label as
        // Graphviz reads text in a plain label, backslash escapes and entities.
        const QMap<QString, QVariantMap> nodes
            = dotNodes(zelmap(dir.path(), { "export", "--format", "dot" }).out);
        QCOMPARE(nodes.keys(), QStringList({ "1", "2" }));
        QCOMPARE(nodes["2"].keys(), nodes["1"].keys());
        QCOMPARE(nodes["2"]["label"].toString(),
                 QString(drawn).replace("\\", "\\\\").replace("&", "&amp;") + "\\n10.0.0.2\\nPC");

        QSet<QString> svgNames;
        QStringList texts;
        QVERIFY(readSvg(zelmap(dir.path(), { "export", "--format", "svg" }).out, svgNames, texts));
        QVERIFY2(svgNames.subtract(m_plainSvgNames).isEmpty(),
                 qPrintable(svgNames.values().join(' ')));
        QVERIFY2(texts.contains(drawn), qPrintable(texts.join('|')));
        QVERIFY(zelmap(dir.path(), { "export", "--format", "png" }).out.startsWith("\x89PNG"));
    }

    // More records than the discovery queue holds: fed as the listener takes them, none lost.
    void longReplayStoresEveryRecord()
    {
        const int records = 100000;
        QList<QJsonObject> scan;
        for (int n = 1; n <= records; ++n)
            scan << deviceRecord(n);
        QTemporaryDir dir;
        const QString path = writeScan(dir, scan);
        QElapsedTimer clock;
        clock.start();
        // About a minute under the thread checker, 15 s without.
        const Result replay = zelmap(dir.path(), { "replay", path, "--interval", "0" }, 300000);
        qInfo("%d records replayed in %lld ms", records, clock.elapsed());
        QVERIFY2(replay.status == 0, replay.err.right(1000));
        QCOMPARE(json(dir.path(), { "maps", "--json" })[0]["devices"].toInt(), records);
    }

    // A merge leaves one device that answers to both addresses, which its JSON lists; a
    // merge that cannot be done is one line on stderr.
    void mergeKeepsTheGoneAddress()
    {
        QTemporaryDir dir;
        const QList<QJsonObject> records { deviceRecord(1), deviceRecord(2), deviceRecord(3) };
        QCOMPARE(
            zelmap(dir.path(), { "replay", writeScan(dir, records), "--interval", "0" }).status, 0);
        QCOMPARE(zelmap(dir.path(), { "merge", "2", "3" }).status, 0);
        const QJsonValue aliases = records[2]["DEVICE_PARAM_LAN_MACADDRESS"];
        QCOMPARE(json(dir.path(), { "device", "2", "--json" })["aliases"], QJsonArray { aliases });
        QCOMPARE(
            zelmap(dir.path(), { "replay", writeScan(dir, records), "--interval", "0" }).status, 0);
        const QJsonArray devices = json(dir.path(), { "show", "--json" })["devices"].toArray();
        QCOMPARE(devices.size(), 2);
        QVERIFY(!devices[0].toObject().contains("aliases"));
        QCOMPARE(devices[1]["aliases"], QJsonArray { aliases });
        for (const QStringList &arguments :
             { QStringList { "merge", "2", "3" }, QStringList { "merge", "2", "2" },
               QStringList { "merge", "2", "x" } }) {
            const Result refused = zelmap(dir.path(), arguments);
            QVERIFY2(refused.status != 0 && refused.err.count('\n') == 1, refused.err);
        }
    }

    // One row per way a command ends: usage errors 2, failures 1, help 0.
    void exitStatuses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::newRow("unknown command") << QStringList { "frobnicate" } << 2;
        QTest::newRow("bad option") << QStringList { "maps", "--colour" } << 2;
        QTest::newRow("no map in use") << QStringList { "show" } << 1;
        QTest::newRow("missing key") << QStringList { "config", "get", "NO_SUCH_KEY" } << 1;
        QTest::newRow("unreadable /proc/net") << QStringList { "scan", "--proc-net", "/none" } << 1;
    }

    void exitStatuses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QTemporaryDir dir;
        const Result result = zelmap(dir.path(), arguments);
        QCOMPARE(result.status, status);
        if (status != 0)
            QVERIFY2(!result.err.isEmpty(), "a failure names what was wrong on stderr");
    }

    // Every printing command flushes and checks what it wrote: a full device is exit 1 and one
    // line on stderr, never a silent success.
    void fullStandardOutputFails_data()
    {
        QTest::addColumn<QString>("arguments");
        for (const char *row :
             { "--help", "maps", "maps --json", "show", "show --json", "device 1",
               "device 1 --json", "config list", "config get DEFAULT_LEASE_TIME", "warranty list",
               "warranty list --json", "export --format json", "export --format svg",
               "export --format png", "export --format dot" })
            QTest::newRow(row) << QString(row);
    }

    void fullStandardOutputFails()
    {
        QFETCH(QString, arguments);
        const Result result = throughShell("exec \"$0\" \"$@\" >/dev/full", m_replayed.path(),
                                           arguments.split(' '));
        QVERIFY2(result.status == 1 && result.err.count('\n') == 1
                     && result.err.contains(": cannot write standard output"),
                 result.err);
    }

    // A file over the size limit, as on a full disk: the export fails and the old file stays
    // whole, no temporary file left beside it.
    void fullDiskLeavesTheOldFile()
    {
        QTemporaryDir dir;
        QList<QJsonObject> records;
        for (int n = 1; n <= 300; ++n) // drawn or written, each well over the 64 KiB allowed
            records << deviceRecord(n);
        const QString scan = writeScan(dir, records);
        QCOMPARE(zelmap(dir.path(), { "replay", scan, "--interval", "0" }).status, 0);
        for (const char *format : { "json", "svg" }) {
            QFile old(dir.filePath(QStringLiteral("map.") + format));
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old map") == 7);
            old.close();
            const Result result
                = throughShell("ulimit -f 128; exec \"$0\" \"$@\"", dir.path(),
                               { "export", "--format", format, "-o", old.fileName() });
            QVERIFY2(result.status == 1
                         && result.err.contains("cannot write " + old.fileName().toUtf8()),
                     result.err);
            QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == "old map");
            old.close();
            QCOMPARE(QDir(dir.path()).entryList({ "map.*.*" }, QDir::Files), QStringList());
            // Without the limit the same export replaces it.
            const QStringList unlimited { "export", "--format", format, "-o", old.fileName() };
            QCOMPARE(zelmap(dir.path(), unlimited).status, 0);
            QVERIFY(QFileInfo(old.fileName()).size() > 128 * 512);
        }
    }

    // No map is no failure; the shipped configuration only adds keys not stored yet, so a
    // feeding command, which seeds it, leaves a value that was set.
    void freshStore()
    {
        QTemporaryDir dir;
        const Result table = zelmap(dir.path(), { "maps" });
        QVERIFY2(table.status == 0 && table.out.startsWith("ID ") && table.out.count('\n') == 1,
                 table.out + table.err);
        QCOMPARE(zelmap(dir.path(), { "maps", "--json" }).out, QByteArray("[]\n"));
        const QStringList set { "config", "set", "DEFAULT_LEASE_TIME", "60" };
        QCOMPARE(zelmap(dir.path(), set).status + zelmap(dir.path(), set).status, 0);
        QCOMPARE(zelmap(dir.path(), { "replay", SMALL_SCAN, "--interval", "0" }).status, 0);
        QCOMPARE(zelmap(dir.path(), { "config", "get", "DEFAULT_LEASE_TIME" }).out,
                 QByteArray("60\n"));
    }

    // A store of a later release is refused in one line and left as it was: not written,
    // not migrated, never moved aside as damaged.
    void laterReleasesStoreUntouched()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("ZelDb.db");
        QVERIFY(QFile::copy(ZELMAP_STORE_FIXTURE, path));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        {
            QSqlDatabase later = QSqlDatabase::addDatabase("QSQLITE", "later");
            later.setDatabaseName(path);
            QVERIFY(later.open() && QSqlQuery(later).exec("PRAGMA user_version = 99"));
            later.close();
        }
        QSqlDatabase::removeDatabase("later");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        const Result maps = zelmap(dir.path(), { "maps" });
        QVERIFY(maps.status != 0);
        QCOMPARE(maps.err.count("later release"), 1);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QVERIFY(QDir(dir.path()).entryList({ "*corrupt*" }).isEmpty());
    }

    // Rows nothing reaches (here, the details of a device row deleted behind the library's
    // back) are removed by the maintenance step, which can also compact the file.
    void maintenanceRemovesUnreachableRows()
    {
        QTemporaryDir dir;
        QCOMPARE(zelmap(dir.path(), { "replay", SMALL_SCAN, "--interval", "0" }).status, 0);
        {
            QSqlDatabase store = QSqlDatabase::addDatabase("QSQLITE", "behind");
            store.setDatabaseName(dir.filePath("ZelDb.db"));
            QVERIFY(store.open()
                    && QSqlQuery(store).exec("DELETE FROM NetworkMapObjects WHERE Id = 3"));
            store.close();
        }
        QSqlDatabase::removeDatabase("behind");
        const Result first = zelmap(dir.path(), { "maintenance", "--vacuum" });
        QVERIFY2(first.status == 0 && first.out.startsWith("removed ")
                     && !first.out.startsWith("removed 0 "),
                 first.out + first.err);
        QCOMPARE(zelmap(dir.path(), { "maintenance" }).out,
                 QByteArray("removed 0 unreachable rows\n"));
        QCOMPARE(integrityCheck(dir.filePath("ZelDb.db")), QStringLiteral("ok"));
    }

    // The library's information lines only with -v, escaped for the terminal; its warnings
    // always.
    void verboseShowsTheLibrarysLines()
    {
        QTemporaryDir dir;
        const QString scan = writeScan(
            dir,
            { { { "NS_DEVICE_TYPE", "GATEWAY" }, { "DEVICE_PARAM_LAN_MACADDRESS", "none" } },
              deviceRecord(1, "x\x1b[2J") });
        for (const bool verbose : { false, true }) {
            QTemporaryDir store;
            const Result replay = zelmap(store.path(),
                                         (verbose ? QStringList { "-v" } : QStringList())
                                             + QStringList { "replay", scan, "--interval", "0" });
            QVERIFY2(replay.status == 0
                         && replay.err.contains("discovery contains invalid mac address"),
                     replay.err);
            QCOMPARE(replay.err.contains("MIDDLEWARE: NetworkMapObject of type:GATEWAY created"),
                     verbose);
            QCOMPARE(replay.err.contains("Name:x\\x1b[2J"), verbose);
            QVERIFY(!replay.err.contains('\x1b'));
        }
    }

    // The usage text and each command's own help come from one table, and the README shows it.
    void helpAgreesWithTheCommandsAndTheReadme()
    {
        const Result help = zelmap(m_home.path(), { "--help" });
        int commands = 0;
        for (const QByteArray &line : help.out.split('\n')) {
            if (!line.startsWith("  ") || line.startsWith("   ") || line.startsWith("  -"))
                continue;
            const Result own
                = zelmap(m_home.path(), { line.trimmed().split(' ').first(), "--help" });
            QVERIFY2(own.status == 0 && own.out.contains("\nzelmap " + line.trimmed() + '\n'),
                     own.out);
            ++commands;
        }
        QCOMPARE(commands, 14);
        QFile readme(ZELMAP_FIXTURES "/../../../README.md");
        QVERIFY(readme.open(QIODevice::ReadOnly));
        QVERIFY2(readme.readAll().contains("```\n" + help.out + "```\n"), help.out);
    }

    // SIGKILL at a random moment while the tool replays a scan, again and again on one store.
    // After each kill the store must be sound and hold exactly the records the child had
    // finished, or one more, each device with every detail its record brought. Each trial goes
    // on with the records the store does not hold yet. ZEL_KILL_TRIALS asks for more trials,
    // ZEL_KILL_SEED repeats a run.
    void killedReplaysLeaveAConsistentStore()
    {
        const int trials = qEnvironmentVariableIntValue("ZEL_KILL_TRIALS") > 0
            ? qEnvironmentVariableIntValue("ZEL_KILL_TRIALS")
            : 20;
        const quint32 seed = qEnvironmentVariableIsSet("ZEL_KILL_SEED")
            ? quint32(qEnvironmentVariableIntValue("ZEL_KILL_SEED"))
            : QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        QTemporaryDir dir;
        const QString scan = dir.filePath("scan.jsonl"), progress = dir.filePath("progress");
        int stored = 0, consistent = 0, killed = 0;
        for (int trial = 0; trial < trials; ++trial) {
            QFile file(scan);
            QVERIFY(file.open(QIODevice::WriteOnly));
            for (int n = stored + 1; n <= RECORDS; ++n)
                file.write(QJsonDocument(deviceRecord(n)).toJson(QJsonDocument::Compact) + '\n');
            file.close();
            QFile::remove(progress);

            const auto child = start(
                dir.path(), { "replay", scan, "--interval", "0", "--progress-file", progress });
            QVERIFY(child->waitForStarted());
            if (!child->waitForFinished(int(random.bounded(50, 600)))) {
                child->kill(); // SIGKILL
                QVERIFY(child->waitForFinished());
                ++killed;
            }
            QFile counter(progress);
            const int finished = counter.open(QIODevice::ReadOnly) ? counter.readAll().toInt() : 0;

            QCOMPARE(integrityCheck(dir.filePath("ZelDb.db")), QStringLiteral("ok"));
            const auto reader = start(dir.path(), { "show", "--json" });
            QVERIFY(reader->waitForFinished(60000));
            const QJsonDocument shown = QJsonDocument::fromJson(reader->readAllStandardOutput());
            const QJsonArray devices = shown["devices"].toArray();
            if (!devices.isEmpty())
                QCOMPARE(shown["map"]["serial"].toString(), "@MAC:04:00:00:00:00:01");
            const int now = devices.size();
            QVERIFY2(now == stored + finished || now == stored + finished + 1,
                     qPrintable(QStringLiteral("trial %1 (seed %2): %3 devices stored, %4 "
                                               "before and %5 finished")
                                    .arg(trial)
                                    .arg(seed)
                                    .arg(now)
                                    .arg(stored)
                                    .arg(finished)));
            for (int n = 0; n < now; ++n)
                QCOMPARE(devices[n]["details"].toObject(), deviceRecord(n + 1));
            stored = now;
            ++consistent;
        }
        qInfo("%d/%d trials consistent (%d killed mid-replay, %d of %d records stored, seed %u)",
              consistent, trials, killed, stored, RECORDS, seed);
    }
};

QTEST_GUILESS_MAIN(TstZelmap)
#include "tst_zelmap.moc"
