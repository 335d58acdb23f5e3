#include "UpnpTestData.h"

#include <zelscan/upnp/UpnpScanner.h>

#include <zelmw/vocabulary/ZelConstants.h>

#include <LogCapture.h>

#include <QNetworkInterface>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

using Fields = QMap<QString, QString>;

// Runs only inside a network namespace of its own (see netns-run.sh): an SSDP responder that
// answers from several loopback addresses, and one HTTP server that all of them reach.
class TestUpnpScanner : public QObject
{
    Q_OBJECT

    QTcpServer m_http;
    QUdpSocket m_ssdp;
    QList<QPair<int, QByteArray>> m_answers; // Who answers, and its LOCATION.
    QStringList m_requests;
    QMap<int, QUdpSocket *> m_senders; // By the last byte of their 127.0.0.x address.
    int m_floodLeft = 0; // More answers from 127.0.0.9, garbage among them.
    QHostAddress m_scanner;
    quint16 m_scannerPort = 0;

    static QByteArray url(int host, const QByteArray &path)
    {
        return "http://127.0.0." + QByteArray::number(host) + ":49152" + path;
    }

    void answer(int from, const QByteArray &location, const QByteArray &status = "200 OK")
    {
        QUdpSocket *&socket = m_senders[from];
        if (!socket) {
            socket = new QUdpSocket(this);
            socket->bind(QHostAddress(QStringLiteral("127.0.0.%1").arg(from)));
        }
        socket->writeDatagram("HTTP/1.1 " + status + "\r\nLOCATION: " + location + "\r\n\r\n",
                              m_scanner, m_scannerPort);
    }

    void serve(QTcpSocket *socket)
    {
        if (!socket->peek(4096).contains("\r\n\r\n"))
            return;
        socket->disconnect(this);
        const QByteArray path = socket->readAll().split(' ').value(1);
        m_requests << socket->localAddress().toString() + QLatin1Char(' ') + QLatin1String(path);
        QByteArray head = "HTTP/1.1 200 OK\r\nConnection: close",
                   body = path.endsWith(".xml") ? upnptest::file(path.mid(1)) : "";
        if (path == "/slow") // Never finishes.
            head = "HTTP/1.1 200 OK\r\nContent-Length: 900", body = "<root>";
        else if (path == "/big") // No length: read until the connection closes.
            body = QByteArray(70 * 1024, ' ');
        else if (path == "/redirect")
            head = "HTTP/1.1 302 Found\r\nLocation: " + url(2, "/igd.xml");
        socket->write(head + "\r\n\r\n" + body);
        if (path != "/slow")
            socket->disconnectFromHost();
    }

    void search()
    {
        while (m_ssdp.hasPendingDatagrams()) {
            m_ssdp.readDatagram(nullptr, 0, &m_scanner, &m_scannerPort); // Answers any search.
            for (const auto &entry : std::as_const(m_answers))
                answer(entry.first, entry.second);
        }
        if (m_floodLeft > 0) // Paced, so that no answer is lost to a full socket buffer.
            QTimer::singleShot(0, this, &TestUpnpScanner::flood);
    }

    void flood()
    {
        const QByteArray good = url(9, "/mediaserver.xml");
        const QByteArray variants[]
            = { good, "\xc3\x28" + good, good + "\x01", good + "\r\nX: " + QByteArray(2000, 'x') };
        for (int i = 0; i < 50 && m_floodLeft > 0; ++i, --m_floodLeft)
            answer(9, variants[m_floodLeft % 4], m_floodLeft % 5 ? "200 OK" : "404 Not Found");
        if (m_floodLeft > 0)
            QTimer::singleShot(0, this, &TestUpnpScanner::flood);
    }

    // Runs one scan with WINDOW; the records by address. The timeout guards against a hang.
    QMap<QString, Fields> scan(int window)
    {
        zelscan::UpnpScanner scanner(QNetworkInterface::interfaceFromName(QStringLiteral("lo")));
        scanner.setListenWindow(window);
        scanner.setGatewayAddress(QHostAddress(QStringLiteral("127.0.0.1")));
        QMap<QString, Fields> records;
        connect(&scanner, &zelscan::Scanner::discovered, this, [&records](const Fields &record) {
            records.insert(record.value(zelmw::DEVICE_PARAM_LAN_IPADDRESS), record);
        });
        QSignalSpy finished(&scanner, &zelscan::Scanner::finished);
        scanner.start();
        [&] { QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, window + 3000); }();
        return records;
    }

private slots:
    void initTestCase()
    {
        const auto interfaces = QNetworkInterface::allInterfaces();
        if (interfaces.size() != 1 || !(interfaces.first().flags() & QNetworkInterface::IsLoopBack))
            QSKIP("sends on the network: runs only in a namespace of its own (netns-run.sh)");
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); // The scanner sets its own.
        QVERIFY(m_http.listen(QHostAddress::AnyIPv4, 49152));
        connect(&m_http, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *socket = m_http.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
        QVERIFY(m_ssdp.bind(QHostAddress::AnyIPv4, 1900, QUdpSocket::ShareAddress));
        QVERIFY(m_ssdp.joinMulticastGroup(QHostAddress(QStringLiteral("239.255.255.250")),
                                          interfaces.first()));
        connect(&m_ssdp, &QUdpSocket::readyRead, this, &TestUpnpScanner::search);
    }

    void hostileNetwork()
    {
        m_answers = { { 1, url(1, "/igd.xml") }, { 3, url(3, "/mediaserver.xml") } };
        QCOMPARE(scan(500).size(), 2);

        m_answers << qMakePair(4, url(4, "/big")) << qMakePair(5, url(5, "/slow"))
                  << qMakePair(6, url(6, "/redirect")) << qMakePair(7, url(2, "/igd.xml"))
                  << qMakePair(8, url(8, "/billion-laughs.xml"));
        m_floodLeft = 10000;
        m_requests.clear();
        zeltest::LogCapture log(QStringLiteral("ZELSCAN"));
        const auto records = scan(1000);

        QCOMPARE(records, upnptest::expectedRecords("scan.records"));
        QStringList warnings = log.messages();
        warnings.sort();
        QCOMPARE(warnings.join(QLatin1Char(',')).remove(QStringLiteral("UpnpScanner: ")),
                 QStringLiteral("127.0.0.4 refused: oversized,127.0.0.5 refused: timeout,127.0.0.6 "
                                "refused: redirect,127.0.0.7 refused: location on another host,"
                                "127.0.0.8 refused: document type declaration,127.0.0.9 refused: "
                                "too many answers, no more are read"));
        // Each description once, from its own address only; no redirect followed.
        m_requests.sort();
        QCOMPARE(m_requests.join(QLatin1Char(',')),
                 QStringLiteral("127.0.0.1 /igd.xml,127.0.0.3 /mediaserver.xml,127.0.0.4 /big,"
                                "127.0.0.5 /slow,127.0.0.6 /redirect,127.0.0.8 "
                                "/billion-laughs.xml,127.0.0.9 /mediaserver.xml"));
    }
};

QTEST_GUILESS_MAIN(TestUpnpScanner)
#include "tst_upnpscanner.moc"
