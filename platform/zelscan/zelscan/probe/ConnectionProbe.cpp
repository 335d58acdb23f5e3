#include <zelscan/probe/ConnectionProbe.h>

#include <QHash>
#include <QNetworkProxy>
#include <QTcpSocket>
#include <QTimer>

namespace zelscan {

namespace {

const quint16 DISCARD_PORT = 9;
const int MAX_ADDRESSES = 1024;

} // namespace

class ConnectionProbe::Private
{
public:
    explicit Private(ConnectionProbe *probe)
        : q(probe)
    { }

    void answer(QTcpSocket *socket, bool yes);
    void finish();
    void stop();

    ConnectionProbe *q;
    QList<QHostAddress> addresses;
    int timeout = 1000;
    QString linkInterface;
    QTimer timer;
    bool running = false;
    // While start() connects: a connection can fail at once, inside connectToHost().
    bool starting = false;
    QMap<QString, bool> answered;
    QHash<QTcpSocket *, QString> pending; // each socket's address
};

void ConnectionProbe::Private::answer(QTcpSocket *socket, bool yes)
{
    const QString address = pending.take(socket);
    if (address.isEmpty())
        return;
    answered[address] = yes;
    socket->disconnect(q);
    socket->abort();
    socket->deleteLater();
    if (pending.isEmpty() && !starting)
        finish();
}

void ConnectionProbe::Private::finish()
{
    stop();
    emit q->finished(answered);
}

void ConnectionProbe::Private::stop()
{
    timer.stop();
    for (QTcpSocket *socket : pending.keys()) {
        socket->disconnect(q);
        socket->abort();
        socket->deleteLater();
    }
    pending.clear();
    running = false;
}

ConnectionProbe::ConnectionProbe(const QList<QHostAddress> &addresses, QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Private>(this))
{
    for (QHostAddress address : addresses) {
        address.setScopeId(QString());
        if (!address.isNull() && !d->addresses.contains(address))
            d->addresses.append(address);
    }
    d->timer.setSingleShot(true);
    // Precise: a coarse timer may end the probe late by 5 % of its time.
    d->timer.setTimerType(Qt::PreciseTimer);
    connect(&d->timer, &QTimer::timeout, this, [this] { d->finish(); });
}

ConnectionProbe::~ConnectionProbe()
{
    d->stop();
}

void ConnectionProbe::setTimeout(int milliseconds)
{
    d->timeout = qMax(0, milliseconds);
}

void ConnectionProbe::setLinkInterface(const QString &interfaceName)
{
    d->linkInterface = interfaceName;
}

void ConnectionProbe::start()
{
    if (d->running)
        return;
    d->running = true;
    d->starting = true;
    d->answered.clear();
    for (int i = 0; i < d->addresses.size(); ++i) {
        const QHostAddress &address = d->addresses.at(i);
        // Not asked, or silent until the timeout: no answer.
        d->answered.insert(address.toString(), false);
        // A link-local IPv6 address means nothing without its interface.
        const bool unscoped = address.protocol() == QAbstractSocket::IPv6Protocol
            && address.isLinkLocal() && d->linkInterface.isEmpty();
        if (i >= MAX_ADDRESSES || unscoped)
            continue;
        auto *socket = new QTcpSocket(this);
        socket->setProxy(QNetworkProxy::NoProxy); // Nor asks the system for one.
        d->pending.insert(socket, address.toString());
        connect(socket, &QTcpSocket::connected, this, [this, socket] { d->answer(socket, true); });
        connect(socket, &QTcpSocket::errorOccurred, this,
                [this, socket](QAbstractSocket::SocketError error) {
                    d->answer(socket, error == QAbstractSocket::ConnectionRefusedError);
                });
        QHostAddress target = address;
        if (target.isLinkLocal())
            target.setScopeId(d->linkInterface);
        socket->connectToHost(target, DISCARD_PORT);
    }
    d->starting = false;
    if (d->pending.isEmpty())
        QTimer::singleShot(0, this, [this] { d->finish(); });
    else
        d->timer.start(d->timeout);
}

} // namespace zelscan
