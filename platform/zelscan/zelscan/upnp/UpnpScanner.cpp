#include <zelscan/upnp/DescriptionFetch_p.h>
#include <zelscan/upnp/DeviceDescription_p.h>
#include <zelscan/upnp/SsdpMessage_p.h>
#include <zelscan/upnp/UpnpScanner.h>

#include <zelmw/discovery/DiscoveryHandler.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QUdpSocket>

#include <utility>

namespace zelscan {

namespace {

Q_LOGGING_CATEGORY(upnpLog, "ZELSCAN")

const QHostAddress SSDP_GROUP(QStringLiteral("239.255.255.250"));
const quint16 SSDP_PORT = 1900;
const int MULTICAST_TTL = 2;
// The bounds are per responder, so that one device flooding the network cannot crowd out the
// others' answers: a real device answers a search with a few dozen datagrams and points them at
// one to three descriptions.
const int MAX_RESPONDERS = 64;
const int MAX_ANSWERS_PER_RESPONDER = 200;
const int MAX_LOCATIONS_PER_RESPONDER = 16;
// Room for a flood's burst, so that answers behind it are not dropped by the kernel.
const int RECEIVE_BUFFER_BYTES = 1 << 20;
const QString GATEWAY_DEVICE_TYPE
    = QStringLiteral("urn:schemas-upnp-org:device:InternetGatewayDevice:");

void warn(const QString &responder, const QString &reason)
{
    qCWarning(upnpLog).noquote() << "UpnpScanner:" << responder << "refused:" << reason;
}

} // namespace

class UpnpScanner::Implementation
{
public:
    // One description an address pointed to, in the order the answers came.
    struct Location
    {
        QUrl url;
        bool pending = true;
        bool parsed = false;
        upnp::DeviceDescription description;
    };
    struct Responder
    {
        int answers = 0;
        QSet<QString> seen;
        bool tooManyLocations = false;
        QList<Location> locations;
        bool reported = false;
    };

    explicit Implementation(UpnpScanner *scanner)
        : q(scanner)
    { }

    void begin();
    bool search();
    void readAnswers();
    void consider(const QString &responder, const QString &location);
    void fetched(const QString &responder, int index, const QByteArray &document,
                 const QString &refusal);
    void report(const QString &responder);
    void windowOver();
    void finishIfDone();
    void stop();

    UpnpScanner *q;
    QNetworkInterface interface;
    int window = 2000;
    QHostAddress gateway;

    bool running = false;
    bool listening = false;
    QUdpSocket *socket = nullptr;
    QTimer *windowTimer = nullptr;
    // Sends the search again: UDP may lose it or its answers (a flood fills the socket's
    // buffer). At a third of the window, which leaves devices their second to answer.
    QTimer *searchTimer = nullptr;
    QNetworkAccessManager *manager = nullptr;
    QList<QPointer<upnp::DescriptionFetch>> fetches;
    int fetching = 0;
    bool tooManyResponders = false;
    QMap<QString, Responder> responders;
};

void UpnpScanner::Implementation::begin()
{
    tooManyResponders = false;
    responders.clear();
    QHostAddress local;
    for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
            local = entry.ip();
            break;
        }
    }
    const QString name = interface.name();
    running = true;
    QString problem;
    if (!interface.flags().testFlag(QNetworkInterface::IsUp))
        problem = QStringLiteral("is down");
    else if (!interface.flags().testFlag(QNetworkInterface::CanMulticast))
        problem = QStringLiteral("cannot multicast");
    else if (local.isNull())
        problem = QStringLiteral("has no IPv4 address");
    if (!problem.isEmpty()) {
        qCWarning(upnpLog).noquote() << "UpnpScanner: interface" << name << problem;
        QTimer::singleShot(0, q, [this] { finishIfDone(); });
        return;
    }
    socket = new QUdpSocket(q);
    socket->setProxy(QNetworkProxy::NoProxy); // Nor asks the system for one.
    QObject::connect(socket, &QUdpSocket::readyRead, q, [this] { readAnswers(); });
    bool sent = socket->bind(local, 0);
    if (sent) {
        socket->setMulticastInterface(interface);
        socket->setSocketOption(QAbstractSocket::MulticastTtlOption, MULTICAST_TTL);
        socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption,
                                RECEIVE_BUFFER_BYTES);
        sent = search();
    }
    if (!sent) {
        qCWarning(upnpLog).noquote()
            << "UpnpScanner: cannot search on interface" << name << ":" << socket->errorString();
        delete socket;
        socket = nullptr;
        QTimer::singleShot(0, q, [this] { finishIfDone(); });
        return;
    }
    listening = true;
    windowTimer->start(window);
    searchTimer->start(window / 3);
}

// Sends one round of searches: every device, and Internet gateways. False when one could not be
// sent.
bool UpnpScanner::Implementation::search()
{
    bool sent = true;
    for (const QByteArray &target :
         { QByteArrayLiteral("ssdp:all"),
           QByteArrayLiteral("urn:schemas-upnp-org:device:InternetGatewayDevice:1") }) {
        const QByteArray request = upnp::searchRequest(target);
        sent = sent && socket->writeDatagram(request, SSDP_GROUP, SSDP_PORT) == request.size();
    }
    return sent;
}

void UpnpScanner::Implementation::readAnswers()
{
    // Every datagram is read, so the socket's buffer keeps room for the next; only those
    // within their responder's bounds are looked at.
    while (socket && socket->hasPendingDatagrams()) {
        QHostAddress sender;
        const qint64 size = socket->pendingDatagramSize();
        QByteArray datagram(int(qBound(qint64(0), size, qint64(upnp::MAX_DATAGRAM_BYTES + 1))),
                            '\0');
        const qint64 read = socket->readDatagram(datagram.data(), datagram.size(), &sender);
        if (read < 0 || size > upnp::MAX_DATAGRAM_BYTES)
            continue;
        const QString responder = QHostAddress(sender.toIPv4Address()).toString();
        auto entry = responders.find(responder);
        if (entry == responders.end()) {
            if (responders.size() >= MAX_RESPONDERS) {
                if (!tooManyResponders)
                    warn(responder, QStringLiteral("too many responders, no more are read"));
                tooManyResponders = true;
                continue;
            }
            entry = responders.insert(responder, Responder());
        }
        if (++entry->answers > MAX_ANSWERS_PER_RESPONDER) {
            if (entry->answers == MAX_ANSWERS_PER_RESPONDER + 1)
                warn(responder, QStringLiteral("too many answers, no more are read"));
            continue;
        }
        datagram.truncate(int(read));
        const QString location = upnp::answerLocation(datagram);
        if (!location.isEmpty())
            consider(responder, location);
    }
}

void UpnpScanner::Implementation::consider(const QString &responder, const QString &location)
{
    Responder &entry = responders[responder];
    if (entry.reported || entry.seen.contains(location))
        return;
    if (entry.seen.size() >= MAX_LOCATIONS_PER_RESPONDER) {
        if (!entry.tooManyLocations)
            warn(responder, QStringLiteral("too many descriptions, no more are fetched"));
        entry.tooManyLocations = true;
        return;
    }
    entry.seen.insert(location);

    // Only plain HTTP from the very address that answered: a description elsewhere would make
    // the scanner a tool for reaching other hosts.
    const QUrl url(location, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("http")) {
        warn(responder, QStringLiteral("location is not an http URL"));
        return;
    }
    if (url.host() != responder || !url.userInfo().isEmpty()) {
        warn(responder, QStringLiteral("location on another host"));
        return;
    }

    const int index = entry.locations.size();
    entry.locations.append(Location { url.adjusted(QUrl::RemoveFragment), true, false, {} });
    auto *fetch = new upnp::DescriptionFetch(manager, entry.locations.last().url, q);
    QObject::connect(
        fetch, &upnp::DescriptionFetch::finished, q,
        [this, fetch, responder, index](const QByteArray &document, const QString &refusal) {
            fetch->deleteLater();
            --fetching;
            fetched(responder, index, document, refusal);
        });
    fetches.append(fetch);
    ++fetching;
}

void UpnpScanner::Implementation::fetched(const QString &responder, int index,
                                          const QByteArray &document, const QString &refusal)
{
    Location &location = responders[responder].locations[index];
    location.pending = false;
    if (refusal.isEmpty())
        location.description = upnp::parseDeviceDescription(document, location.url);
    else
        location.description.refusal = refusal;
    location.parsed = location.description.refusal.isEmpty();
    if (!location.parsed)
        warn(responder, location.description.refusal);
    report(responder);
    finishIfDone();
}

// Reports RESPONDER from its first location that parsed, once every earlier one has failed.
void UpnpScanner::Implementation::report(const QString &responder)
{
    Responder &entry = responders[responder];
    if (entry.reported)
        return;
    for (const Location &location : std::as_const(entry.locations)) {
        if (location.pending)
            return;
        if (!location.parsed)
            continue;
        entry.reported = true;
        QMap<QString, QString> record = location.description.fields;
        const QString deviceType = record.value(zelmw::UPNP_PARAM_DEVICETYPE);
        if (deviceType.startsWith(GATEWAY_DEVICE_TYPE) && !gateway.isNull()
            && QHostAddress(responder).isEqual(gateway, QHostAddress::ConvertV4MappedToIPv4)) {
            record.insert(zelmw::NS_DEVICE_TYPE, zelmw::DEVICE_TYPE_GATEWAY);
            record.insert(zelmw::GATEWAY_PARAM_ISROUTER, zelmw::BOOL_TRUE_VALUE);
        } else {
            record.insert(zelmw::NS_DEVICE_TYPE, zelmw::DEVICE_TYPE_UNKNOWN_DEVICE);
        }
        record.insert(zelmw::DEVICE_PARAM_LAN_IPADDRESS, responder);
        record.insert(zelmw::UPNP_PARAM_DEVICE_IPADDRESS, responder);
        record.insert(zelmw::UPNP_PARAM_DEVICE_UPNPPORT, QString::number(location.url.port(80)));
        const QString path = location.url.path(QUrl::FullyEncoded);
        record.insert(zelmw::UPNP_PARAM_DEVICE_UPNPPATH,
                      path.isEmpty() ? QStringLiteral("/") : path);
        const QString reason = zelmw::DiscoveryHandler::refusalReason(record);
        if (reason.isEmpty())
            emit q->discovered(record);
        else
            warn(responder, reason);
        return;
    }
}

void UpnpScanner::Implementation::windowOver()
{
    listening = false;
    searchTimer->stop();
    delete socket;
    socket = nullptr;
    finishIfDone();
}

void UpnpScanner::Implementation::finishIfDone()
{
    if (!running || listening || fetching > 0)
        return;
    fetches.clear();
    running = false;
    emit q->finished();
}

void UpnpScanner::Implementation::stop()
{
    windowTimer->stop();
    searchTimer->stop();
    for (const auto &fetch : std::as_const(fetches))
        delete fetch;
    fetches.clear();
    fetching = 0;
    delete socket;
    socket = nullptr;
    listening = false;
    running = false;
}

UpnpScanner::UpnpScanner(const QNetworkInterface &interface, QObject *parent)
    : Scanner(parent)
    , d(std::make_unique<Implementation>(this))
{
    d->interface = interface;
    d->windowTimer = new QTimer(this);
    d->windowTimer->setSingleShot(true);
    connect(d->windowTimer, &QTimer::timeout, this, [this] { d->windowOver(); });
    d->searchTimer = new QTimer(this);
    d->searchTimer->setSingleShot(true);
    connect(d->searchTimer, &QTimer::timeout, this, [this] {
        if (d->socket)
            d->search();
    });
    d->manager = new QNetworkAccessManager(this);
    d->manager->setProxy(QNetworkProxy::NoProxy); // Never fetch through another host.
}

UpnpScanner::~UpnpScanner()
{
    d->stop();
}

void UpnpScanner::setListenWindow(int milliseconds)
{
    d->window = qMax(0, milliseconds);
}

void UpnpScanner::setGatewayAddress(const QHostAddress &address)
{
    d->gateway = address;
}

void UpnpScanner::start()
{
    if (!d->running)
        d->begin();
}

} // namespace zelscan
