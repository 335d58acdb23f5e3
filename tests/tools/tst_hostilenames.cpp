// Any device may call itself anything: whatever the name, terminals see it escaped, drawings
// show it as text, scripts get it exact. And a replay of any length ends with every record
// stored.
#include "ZelmapProcess.h"

#include <graphviz/cgraph.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// Device N (1 the gateway) at 10.0.0.N, named NAME (an empty name leaves the address).
QJsonObject record(int n, const QString &name = QString())
{
    const QString mac = QStringLiteral("%1").arg(n, 6, 16, QLatin1Char('0'));
    return { { "NS_DEVICE_TYPE", n == 1 ? "GATEWAY" : "PC" },
             { "GATEWAY_PARAM_ISROUTER", n == 1 ? "1" : "0" },
             { "DEVICE_PARAM_LAN_MACADDRESS",
               "02:00:00:" + mac.left(2) + ':' + mac.mid(2, 2) + ':' + mac.right(2) },
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

class TstHostileNames : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QSet<QString> m_plainSvgNames; // what the SVG of a device named "plain" is made of

private slots:
    void initTestCase()
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path()));
        QTemporaryDir dir;
        const QString scan = writeScan(dir, { record(1, "Gateway"), record(2, "plain") });
        QCOMPARE(zelmap(dir.path(), { "replay", scan, "--interval", "0" }).status, 0);
        QStringList texts;
        QVERIFY(readSvg(zelmap(dir.path(), { "export", "--format", "svg" }).out, m_plainSvgNames,
                        texts));
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
        const QString scan = writeScan(dir, { record(1, "Gateway"), record(2, name) });
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
            scan << record(n);
        QTemporaryDir dir;
        const QString path = writeScan(dir, scan);
        QElapsedTimer clock;
        clock.start();
        const Result replay = zelmap(dir.path(), { "replay", path, "--interval", "0" });
        qInfo("%d records replayed in %lld ms", records, clock.elapsed());
        QVERIFY2(replay.status == 0, replay.err.right(1000));
        QCOMPARE(json(dir.path(), { "maps", "--json" })[0]["devices"].toInt(), records);
    }
};

QTEST_GUILESS_MAIN(TstHostileNames)
#include "tst_hostilenames.moc"
