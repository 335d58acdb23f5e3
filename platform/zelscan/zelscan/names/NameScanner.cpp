#include <zelscan/names/DnsMessage_p.h>
#include <zelscan/names/NameScanner.h>
#include <zelscan/names/ResolverLookups_p.h>

#include <zelmw/vocabulary/ZelConstants.h>

#include <QHostInfo>
#include <QLoggingCategory>
#include <QMap>
#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QPointer>
#include <QTimer>
#include <QUdpSocket>
#include <QVariant>
#include <QVector>

#include <algorithm>
#include <utility>

namespace zelscan {

namespace {

Q_LOGGING_CATEGORY(lcNames, "ZELSCAN")

constexpr quint16 MDNS_PORT = 5353;
constexpr int MULTICAST_TTL = 255;
constexpr int MAX_RECORDS = 10000;
constexpr int MAX_WARNINGS = 50;
// Workstations the browse finds beyond the addresses asked about: a home's worth.
constexpr int MAX_WORKSTATIONS = 256;
constexpr int QUESTIONS_PER_MESSAGE = 30;

QHostAddress mdnsGroup()
{
    return QHostAddress(QStringLiteral("224.0.0.251"));
}

QStringList lowered(const QStringList &labels)
{
    QStringList result;
    result.reserve(labels.size());
    for (const QString &label : labels)
        result.append(label.toLower());
    return result;
}

// d.c.b.a.in-addr.arpa for a.b.c.d.
QStringList reverseName(quint32 ipv4)
{
    QStringList labels;
    for (int shift = 0; shift < 32; shift += 8)
        labels.append(QString::number((ipv4 >> shift) & 0xff));
    labels << QStringLiteral("in-addr") << QStringLiteral("arpa");
    return labels;
}

QStringList workstationBrowseName()
{
    return { QStringLiteral("_workstation"), QStringLiteral("_tcp"), QStringLiteral("local") };
}

// The host name of a record's target: nas.local. gives nas.
QString hostName(QStringList labels)
{
    if (!labels.isEmpty()
        && labels.last().compare(QLatin1String("local"), Qt::CaseInsensitive) == 0)
        labels.removeLast();
    return dns::nameText(labels);
}

bool isCleanName(const QString &name)
{
    if (name.isEmpty() || name.size() > dns::MAX_NAME_CHARACTERS)
        return false;
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

} // namespace

class NameScanner::Private
{
public:
    explicit Private(NameScanner *scanner)
        : q(scanner)
    { }

    void start();
    void fail(const QString &message);
    void sendQueries();
    void read(QUdpSocket *socket);
    void absorb(const dns::Record &record);
    bool onLink(const QHostAddress &address) const;
    QString mdnsName(int index) const;
    void askResolver();
    void finish();
    void warn(const QString &message);

    NameScanner *q;
    QNetworkInterface interface;
    QList<QHostAddress> addresses;
    int window = 2000;

    // The state of one look; everything it owns is a child of run.
    bool running = false;
    QObject *run = nullptr;
    QUdpSocket *querySocket = nullptr;
    QUdpSocket *groupSocket = nullptr;
    names::ResolverLookups *resolver = nullptr;
    int recordBudget = 0;
    int warnings = 0;
    bool sendFailed = false;
    QMap<QStringList, int> reverseNames; // lower-case reverse name to address index
    QVector<QString> reverseAnswers; // per address index
    QVector<QString> resolverAnswers; // per address index
    QMap<QStringList, bool> instances; // lower-case workstation instance names
    QMap<QStringList, QStringList> services; // lower-case instance to its target
    QMap<QStringList, QList<quint32>> hosts; // lower-case host name to its IPv4 addresses
};

NameScanner::NameScanner(const QNetworkInterface &interface, const QList<QHostAddress> &addresses,
                         QObject *parent)
    : Scanner(parent)
    , d(std::make_unique<Private>(this))
{
    d->interface = interface;
    for (const QHostAddress &address : addresses) {
        if (!address.isNull() && !d->addresses.contains(address))
            d->addresses.append(address);
    }
}

NameScanner::~NameScanner()
{
    // The look's sockets, timers and lookups go before the state they refer to; the lookups
    // still running are aborted with them.
    delete d->run;
}

void NameScanner::setListenWindow(int milliseconds)
{
    d->window = qMax(0, milliseconds);
}

void NameScanner::start()
{
    if (!d->running)
        d->start();
}

void NameScanner::Private::start()
{
    running = true;
    delete run;
    run = new QObject(q);
    querySocket = nullptr;
    groupSocket = nullptr;
    resolver = nullptr;
    recordBudget = MAX_RECORDS;
    warnings = 0;
    sendFailed = false;
    reverseNames.clear();
    reverseAnswers = QVector<QString>(addresses.size());
    resolverAnswers = QVector<QString>(addresses.size());
    instances.clear();
    services.clear();
    hosts.clear();
    for (int i = 0; i < addresses.size(); ++i) {
        if (addresses.at(i).protocol() == QAbstractSocket::IPv4Protocol)
            reverseNames.insert(reverseName(addresses.at(i).toIPv4Address()), i);
    }

    QHostAddress local;
    const QList<QNetworkAddressEntry> entries = interface.addressEntries();
    for (const QNetworkAddressEntry &entry : entries) {
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
            local = entry.ip();
            break;
        }
    }
    if (!interface.isValid() || local.isNull()) {
        fail(QStringLiteral("NameScanner - interface \"%1\" has no IPv4 address, no look")
                 .arg(interface.name()));
        return;
    }

    // Queries go from a port of their own: answers sent straight back arrive there, whoever
    // else listens on the multicast DNS port.
    // Neither socket asks the system for a proxy: that would consult its proxy configuration
    // (on a thread of its own), and a scanner never goes through another host.
    querySocket = new QUdpSocket(run);
    querySocket->setProxy(QNetworkProxy::NoProxy);
    if (!querySocket->bind(local, 0)) {
        fail(QStringLiteral("NameScanner - cannot open a socket on %1: %2")
                 .arg(local.toString(), querySocket->errorString()));
        return;
    }
    querySocket->setMulticastInterface(interface);
    querySocket->setSocketOption(QAbstractSocket::MulticastTtlOption, QVariant(MULTICAST_TTL));
    QObject::connect(querySocket, &QUdpSocket::readyRead, run,
                     [this, socket = querySocket] { read(socket); });

    groupSocket = new QUdpSocket(run);
    groupSocket->setProxy(QNetworkProxy::NoProxy);
    if (groupSocket->bind(QHostAddress::AnyIPv4, MDNS_PORT,
                          QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)
        && groupSocket->joinMulticastGroup(mdnsGroup(), interface)) {
        QObject::connect(groupSocket, &QUdpSocket::readyRead, run,
                         [this, socket = groupSocket] { read(socket); });
    } else {
        warn(QStringLiteral("NameScanner - cannot listen to multicast answers on \"%1\": %2")
                 .arg(interface.name(), groupSocket->errorString()));
        delete groupSocket;
        groupSocket = nullptr;
    }

    sendQueries();
    // Asked once more, for what a lost datagram may have left unanswered.
    QTimer::singleShot(window / 4, run, [this] { sendQueries(); });
    QTimer::singleShot(window / 2, run, [this] { askResolver(); });
    // Precise: a coarse timer may be late by 5 % of the window.
    QTimer::singleShot(window, Qt::PreciseTimer, run, [this] { finish(); });
}

void NameScanner::Private::fail(const QString &message)
{
    warn(message);
    QTimer::singleShot(0, run, [this] { finish(); });
}

void NameScanner::Private::sendQueries()
{
    QList<QByteArray> messages;
    QList<QStringList> names;
    for (auto it = reverseNames.cbegin(); it != reverseNames.cend(); ++it) {
        if (!mdnsName(it.value()).isEmpty())
            continue;
        names.append(it.key());
        if (names.size() == QUESTIONS_PER_MESSAGE) {
            messages.append(dns::query(names, dns::TYPE_PTR, true));
            names.clear();
        }
    }
    if (!names.isEmpty())
        messages.append(dns::query(names, dns::TYPE_PTR, true));
    messages.append(dns::query({ workstationBrowseName() }, dns::TYPE_PTR, true));

    for (const QByteArray &message : std::as_const(messages)) {
        if (querySocket->writeDatagram(message, mdnsGroup(), MDNS_PORT) < 0 && !sendFailed) {
            sendFailed = true;
            warn(QStringLiteral("NameScanner - cannot send on \"%1\": %2")
                     .arg(interface.name(), querySocket->errorString()));
        }
    }
}

void NameScanner::Private::read(QUdpSocket *socket)
{
    // Once the record budget is spent the socket is left unread until the window ends.
    while (running && recordBudget > 0 && socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram(dns::MAX_MESSAGE_BYTES + 1);
        if (!datagram.isValid())
            break;
        // Answers that reached the port on another link are not this scan's.
        if (datagram.interfaceIndex() != 0 && interface.index() > 0
            && datagram.interfaceIndex() != uint(interface.index()))
            continue;
        const QString sender = datagram.senderAddress().toString();
        const dns::Message message = dns::parse(datagram.data(), recordBudget);
        recordBudget -= qMax(1, int(message.records.size()));
        if (!message.refusal.isEmpty()) {
            warn(QStringLiteral("NameScanner - refused a message from %1: %2")
                     .arg(sender, message.refusal));
            continue;
        }
        if (!message.response)
            continue;
        if (!message.dropped.isEmpty()) {
            warn(QStringLiteral("NameScanner - dropped records from %1: %2")
                     .arg(sender, message.dropped));
        }
        if (message.limited || recordBudget <= 0) {
            recordBudget = 0;
            warn(QStringLiteral("NameScanner - %1 records read, the last from %2; the rest of "
                                "this look's answers are ignored")
                     .arg(MAX_RECORDS)
                     .arg(sender));
        }
        for (const dns::Record &record : message.records)
            absorb(record);
    }
}

void NameScanner::Private::absorb(const dns::Record &record)
{
    const QStringList owner = lowered(record.name);
    if (record.type == dns::TYPE_PTR) {
        const int index = reverseNames.value(owner, -1);
        if (index >= 0) {
            if (reverseAnswers.at(index).isEmpty())
                reverseAnswers[index] = hostName(record.target);
        } else if (owner == workstationBrowseName()) {
            instances.insert(lowered(record.target), true);
        }
    } else if (record.type == dns::TYPE_SRV) {
        if (!services.contains(owner))
            services.insert(owner, record.target);
    } else if (record.type == dns::TYPE_A) {
        QList<quint32> &known = hosts[owner];
        if (!known.contains(record.ipv4))
            known.append(record.ipv4);
    }
}

bool NameScanner::Private::onLink(const QHostAddress &address) const
{
    const QList<QNetworkAddressEntry> entries = interface.addressEntries();
    return std::any_of(entries.cbegin(), entries.cend(), [&](const QNetworkAddressEntry &entry) {
        return entry.ip().protocol() == QAbstractSocket::IPv4Protocol
            && address.isInSubnet(entry.ip(), entry.prefixLength()) && address != entry.ip();
    });
}

QString NameScanner::Private::mdnsName(int index) const
{
    if (!reverseAnswers.at(index).isEmpty())
        return reverseAnswers.at(index);
    const QHostAddress &address = addresses.at(index);
    if (address.protocol() != QAbstractSocket::IPv4Protocol)
        return QString();
    const quint32 ipv4 = address.toIPv4Address();
    for (auto it = instances.cbegin(); it != instances.cend(); ++it) {
        const QStringList target = services.value(it.key());
        if (!target.isEmpty() && hosts.value(lowered(target)).contains(ipv4))
            return hostName(target);
    }
    return QString();
}

void NameScanner::Private::askResolver()
{
    resolver = new names::ResolverLookups(run);
    QObject::connect(resolver, &names::ResolverLookups::answered, run,
                     [this](int i, const QHostInfo &info) {
                         if (!running || info.error() != QHostInfo::NoError)
                             return;
                         const QHostAddress &address = addresses.at(i);
                         const QString name = info.hostName();
                         if (name.isEmpty() || QHostAddress(name) == address)
                             return;
                         if (!isCleanName(name)) {
                             warn(QStringLiteral("NameScanner - refused the resolver's name for "
                                                 "%1: over %2 characters or with control "
                                                 "characters")
                                      .arg(address.toString())
                                      .arg(dns::MAX_NAME_CHARACTERS));
                             return;
                         }
                         resolverAnswers[i] = name;
                     });
    for (int i = 0; i < addresses.size(); ++i) {
        if (mdnsName(i).isEmpty())
            resolver->lookUp(addresses.at(i), i);
    }
}

void NameScanner::Private::finish()
{
    if (!running)
        return;
    running = false;
    QList<QMap<QString, QString>> records;
    const auto add = [&records](const QHostAddress &address, const QString &name) {
        records.append({ { zelmw::DEVICE_PARAM_LAN_IPADDRESS, address.toString() },
                         { zelmw::DEVICE_PARAM_NAME, name } });
    };
    for (int i = 0; i < addresses.size(); ++i) {
        QString name = mdnsName(i);
        if (name.isEmpty())
            name = resolverAnswers.at(i);
        if (!name.isEmpty())
            add(addresses.at(i), name);
    }
    // Then the workstations the browse found beyond those: a device that speaks only multicast
    // DNS is known nowhere else. Only addresses of the interface's own network are believed.
    QMap<quint32, QString> others;
    for (auto it = instances.cbegin(); it != instances.cend(); ++it) {
        const QStringList target = services.value(it.key());
        for (const quint32 ipv4 : hosts.value(lowered(target))) {
            const QHostAddress address(ipv4);
            if (others.size() < MAX_WORKSTATIONS && !target.isEmpty()
                && !addresses.contains(address) && onLink(address))
                others.insert(ipv4, hostName(target));
        }
    }
    for (auto it = others.cbegin(); it != others.cend(); ++it)
        add(QHostAddress(it.key()), it.value());
    if (querySocket)
        querySocket->close();
    if (groupSocket)
        groupSocket->close();
    // Nothing is asked of the resolver once the window is over.
    if (resolver)
        resolver->abort();
    // Deleted later: finish() runs in a slot of one of run's timers.
    run->deleteLater();
    run = nullptr;
    querySocket = nullptr;
    groupSocket = nullptr;
    resolver = nullptr;

    QPointer<NameScanner> alive(q);
    for (const QMap<QString, QString> &record : std::as_const(records)) {
        emit q->discovered(record);
        if (!alive)
            return;
    }
    emit q->finished();
}

void NameScanner::Private::warn(const QString &message)
{
    if (warnings > MAX_WARNINGS)
        return;
    if (++warnings > MAX_WARNINGS)
        qCWarning(lcNames, "NameScanner - more refusals in this look are not logged");
    else
        qCWarning(lcNames).noquote() << message;
}

} // namespace zelscan
