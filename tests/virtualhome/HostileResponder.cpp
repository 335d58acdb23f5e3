// zel_hostile_responder IFACE OWN_ADDRESS OTHER_HOST PORT
//     Answers every SSDP search heard on IFACE with one answer per hostile case, each pointing at a
//     description of its own served on OWN_ADDRESS:PORT (or, for the cases that must never be
//     fetched, at OTHER_HOST or at loopback), then the first search of each searcher with a
//     flood of 10,000 answers. Logs each search, answer and fetch to stdout, one line each.
// zel_hostile_responder --canary ADDRESS PORT LABEL LOGFILE
//     Serves nothing but logs every request reaching ADDRESS:PORT to LOGFILE: placed where the
//     hostile answers point elsewhere, it shows what a scanner fetched where it must not.
#include <QCoreApplication>
#include <QFile>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>
#include <memory>

namespace {

const QHostAddress ssdpGroup(QStringLiteral("239.255.255.250"));
constexpr int floodSize = 10000;
const char *const cases[] = { "big",  "trickle", "redirect", "otherhost", "loopback",
                              "bomb", "xxe",     "badutf8",  "longname" };

QFile *logFile = nullptr;

void say(const QByteArray &line)
{
    std::fprintf(stdout, "%s\n", line.constData());
    std::fflush(stdout);
    if (logFile) {
        logFile->write(line + '\n');
        logFile->flush();
    }
}

QByteArray description(const QByteArray &name, const QByteArray &doctype = {},
                       const QByteArray &extra = {})
{
    return "<?xml version=\"1.0\"?>\n" + doctype
        + "<root xmlns=\"urn:schemas-upnp-org:device-1-0\"><specVersion><major>1</major>"
          "<minor>0</minor></specVersion><device>"
          "<deviceType>urn:schemas-upnp-org:device:Basic:1</deviceType><friendlyName>"
        + name
        + "</friendlyName><manufacturer>Stranger</manufacturer><modelName>Hostile</modelName>"
        + extra + "<UDN>uuid:5a454c00-0bad-4000-8000-000000000001</UDN></device></root>\n";
}

QByteArray reply(const QByteArray &status, const QByteArray &body, const QByteArray &headers = {})
{
    return "HTTP/1.1 " + status + "\r\nContent-Type: text/xml; charset=\"utf-8\"\r\n" + headers
        + "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n"
        + body;
}

// The body each case serves; an empty QByteArray for the paths only the canaries should see.
QByteArray body(const QByteArray &name)
{
    if (name == "big")
        return description(
            "Big", {}, "<modelDescription>" + QByteArray(70 * 1024, 'B') + "</modelDescription>");
    if (name == "bomb") {
        QByteArray doctype = "<!DOCTYPE root [<!ENTITY e0 \"lol\">";
        for (int i = 1; i < 10; ++i)
            doctype += "<!ENTITY e" + QByteArray::number(i) + " \""
                + QByteArray("&e" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
        return description("&e9;", doctype + "]>\n");
    }
    if (name == "xxe")
        return description("&x;", "<!DOCTYPE root [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n");
    if (name == "badutf8")
        return description("Bad \xc3\x28 \xff\xfe \xed\xa0\x80 \xc0\xaf end");
    if (name == "longname")
        return description(QByteArray(100000, 'N'));
    if (name.startsWith("flood/"))
        return description("Flood " + name.mid(6));
    return {};
}

// Serves one HTTP request per connection; TRICKLE starts an answer and never finishes it.
void serve(QTcpSocket *socket, const QByteArray &label, const QHostAddress &other, quint16 port)
{
    auto request = std::make_shared<QByteArray>();
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [=] {
        request->append(socket->readAll());
        if (request->size() > 16384) {
            socket->abort();
            return;
        }
        const int end = request->indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray line = request->left(request->indexOf("\r\n"));
        const QByteArray peer = socket->peerAddress().toString().toLatin1();
        socket->disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
        if (!label.isEmpty()) {
            say("CANARY " + label + " FETCH " + line + " from " + peer);
            socket->write(reply("404 Not Found", {}));
            socket->disconnectFromHost();
            return;
        }
        const QByteArray path = line.split(' ').value(1);
        say("FETCH " + path + " from " + peer);
        QByteArray response;
        if (path == "/trickle") {
            // No length: a description that never ends, one byte at a time.
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n"
                          "\r\n<?xml version=\"1.0\"?>\n<root");
            auto *timer = new QTimer(socket);
            auto sent = std::make_shared<int>(0);
            QObject::connect(timer, &QTimer::timeout, socket, [socket, sent] {
                socket->write(" ", 1);
                ++*sent;
            });
            QObject::connect(socket, &QTcpSocket::disconnected, timer, [sent] {
                say("TRICKLE ended after " + QByteArray::number(*sent) + " bytes");
            });
            timer->start(200);
            return;
        } else if (path == "/redirect") {
            const QByteArray target = "http://" + other.toString().toLatin1() + ':'
                + QByteArray::number(port) + "/redirected";
            response = reply("302 Found", {}, "Location: " + target + "\r\n");
        } else {
            const QByteArray data = body(path.mid(1));
            response = data.isEmpty() ? reply("404 Not Found", {}) : reply("200 OK", data);
        }
        socket->write(response);
        say("SERVED " + path + ' ' + QByteArray::number(response.size()) + " bytes");
        socket->disconnectFromHost();
    });
}

QByteArray answer(const QByteArray &st, const QByteArray &location, const QByteArray &uuid)
{
    return "HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age=1800\r\nEXT:\r\nLOCATION: " + location
        + "\r\nSERVER: Stranger/1.0 UPnP/1.0 Hostile/1.0\r\nST: " + st + "\r\nUSN: uuid:" + uuid
        + "::" + st + "\r\n\r\n";
}

QByteArray headerValue(const QByteArray &message, const QByteArray &name)
{
    for (const QByteArray &line : message.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name)
            return line.mid(colon + 1).trimmed().left(200);
    }
    return {};
}

struct Flood
{
    QByteArray st;
    QByteArray locationPrefix;
    QHostAddress to;
    quint16 toPort;
    int next = 0;
    int sent = 0;
};

// The flood goes out in slices, so that searches and fetches are served meanwhile.
void floodSlice(QUdpSocket *socket, const std::shared_ptr<Flood> &flood)
{
    for (const int end = qMin(flood->next + 500, floodSize); flood->next < end; ++flood->next) {
        const QByteArray n = QByteArray::number(flood->next);
        const QByteArray datagram = answer(flood->st, flood->locationPrefix + n,
                                           "5a454c00-f100-4000-8000-" + n.rightJustified(12, '0'));
        if (socket->writeDatagram(datagram, flood->to, flood->toPort) > 0)
            ++flood->sent;
    }
    if (flood->next < floodSize) {
        QTimer::singleShot(1, socket, [socket, flood] { floodSlice(socket, flood); });
        return;
    }
    say("FLOOD sent " + QByteArray::number(flood->sent) + " of " + QByteArray::number(floodSize)
        + " answers to " + flood->to.toString().toLatin1());
}

void answerSearch(QUdpSocket *socket, const QNetworkDatagram &search, const QByteArray &own,
                  const QByteArray &other, quint16 port)
{
    const QByteArray data = search.data();
    if (!data.startsWith("M-SEARCH "))
        return;
    QByteArray st = headerValue(data, "st");
    say("MSEARCH from " + search.senderAddress().toString().toLatin1() + ':'
        + QByteArray::number(search.senderPort()) + " st=" + st);
    if (st.isEmpty() || st == "ssdp:all")
        st = "upnp:rootdevice";
    const QByteArray portText = ':' + QByteArray::number(port) + '/';
    int index = 0;
    for (const char *name : cases) {
        const QByteArray host = qstrcmp(name, "otherhost") == 0 ? other
            : qstrcmp(name, "loopback") == 0                    ? QByteArray("127.0.0.1")
                                                                : own;
        const QByteArray location = "http://" + host + portText + name;
        const QByteArray uuid = "5a454c00-0bad-4000-8000-0000000001" + QByteArray::number(++index);
        socket->writeDatagram(answer(st, location, uuid), search.senderAddress(),
                              search.senderPort());
        say("ANSWER " + QByteArray(name) + ' ' + location);
    }
    // One flood per searcher (its address and port): 10,000 answers to its first search. Every
    // search flooded would make the searcher's buffer overflow at random moments, losing the
    // other devices' answers too, which no searcher can help.
    static QSet<QByteArray> flooded;
    const QByteArray searcher = search.senderAddress().toString().toLatin1() + ':'
        + QByteArray::number(search.senderPort());
    if (flooded.contains(searcher))
        return;
    flooded.insert(searcher);
    auto flood = std::make_shared<Flood>(Flood { st, "http://" + own + portText + "flood/",
                                                 search.senderAddress(),
                                                 static_cast<quint16>(search.senderPort()) });
    floodSlice(socket, flood);
}

int fail(const QString &message)
{
    std::fprintf(stderr, "zel_hostile_responder: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const bool canary = args.value(1) == QLatin1String("--canary");
    if (args.size() != (canary ? 6 : 5))
        return fail(QStringLiteral("usage: IFACE OWN_ADDRESS OTHER_HOST PORT | "
                                   "--canary ADDRESS PORT LABEL LOGFILE"));
    const QHostAddress address(args.at(2));
    const QHostAddress other(canary ? QString() : args.at(3));
    const quint16 port = static_cast<quint16>(args.at(canary ? 3 : 4).toUInt());
    const QByteArray label = canary ? args.at(4).toUtf8() : QByteArray();
    QFile file(canary ? args.at(5) : QString());
    if (canary) {
        if (!file.open(QIODevice::Append))
            return fail(QStringLiteral("cannot open %1").arg(file.fileName()));
        logFile = &file;
    }

    QTcpServer server;
    if (!server.listen(address, port))
        return fail(QStringLiteral("cannot listen on %1:%2: %3")
                        .arg(address.toString())
                        .arg(port)
                        .arg(server.errorString()));
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
        while (QTcpSocket *socket = server.nextPendingConnection())
            serve(socket, label, other, port);
    });
    if (canary)
        return app.exec();

    const QNetworkInterface iface = QNetworkInterface::interfaceFromName(args.at(1));
    QUdpSocket ssdp;
    if (!iface.isValid()
        || !ssdp.bind(QHostAddress::AnyIPv4, 1900,
                      QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)
        || !ssdp.joinMulticastGroup(ssdpGroup, iface))
        return fail(QStringLiteral("cannot join the SSDP group on %1: %2")
                        .arg(args.at(1), ssdp.errorString()));
    const QByteArray own = address.toString().toLatin1();
    const QByteArray otherHost = other.toString().toLatin1();
    QObject::connect(&ssdp, &QUdpSocket::readyRead, &ssdp, [&] {
        while (ssdp.hasPendingDatagrams())
            answerSearch(&ssdp, ssdp.receiveDatagram(65536), own, otherHost, port);
    });
    say("READY on " + own + ':' + QByteArray::number(port));
    return app.exec();
}
