#include <zelscan/HomeScanner.h>

#include <zelscan/host/HomeRecords_p.h>
#include <zelscan/host/HostTables.h>
#include <zelscan/host/Ipv6Neighbours_p.h>
#include <zelscan/host/LocalPcRecord.h>
#include <zelscan/names/NameScanner.h>
#include <zelscan/upnp/UpnpScanner.h>

#include <zelmw/vocabulary/ZelConstants.h>

#include <QHostAddress>
#include <QLoggingCategory>
#include <QNetworkInterface>
#include <QPointer>
#include <QTimer>

namespace zelscan {

namespace {

Q_LOGGING_CATEGORY(homeLog, "ZELSCAN")

// Host names come after the UPnP window: short, since a name only completes a record.
const int NAME_WINDOW_MS = 500;

} // namespace

using Record = QMap<QString, QString>;

class HomeScanner::Private
{
public:
    QString procNetDirectory = QStringLiteral("/proc/net");
    QString interfaceName;
    bool searching = false;
    int window = 2000;

    bool running = false;
    // The tables as start() read them, or as a search read them again; complete() reports them.
    HostTables tables { QString() };
    QString error;
    // A search's scanners, while they run, and what they found.
    QPointer<UpnpScanner> upnp;
    QPointer<NameScanner> names;
    QList<Record> upnpRecords;
    QList<Record> nameRecords;

    // Reads the tables again during a search; why the search cannot go on, or empty.
    QString readTablesAgain()
    {
        const QString interfaceName = tables.interfaceName();
        if (!tables.read())
            return tables.error();
        if (tables.interfaceName() != interfaceName)
            return QStringLiteral("the default route moved from %1 to %2 during the search")
                .arg(interfaceName, tables.interfaceName());
        return QString();
    }
};

HomeScanner::HomeScanner(QObject *parent)
    : Scanner(parent)
    , d(new Private)
{ }

HomeScanner::~HomeScanner()
{
    delete d->upnp;
    delete d->names;
}

void HomeScanner::setProcNetDirectory(const QString &directory)
{
    d->procNetDirectory = directory;
}

void HomeScanner::setInterfaceName(const QString &name)
{
    d->interfaceName = name;
}

void HomeScanner::setSearching(bool searching)
{
    d->searching = searching;
}

void HomeScanner::setListenWindow(int milliseconds)
{
    d->window = qMax(0, milliseconds);
}

QString HomeScanner::searchedInterfaceName() const
{
    return d->tables.interfaceName();
}

QString HomeScanner::error() const
{
    return d->error;
}

void HomeScanner::start()
{
    if (d->running)
        return;
    d->running = true;
    d->error.clear();
    d->upnpRecords.clear();
    d->nameRecords.clear();
    d->tables = HostTables(d->procNetDirectory);
    if (!d->tables.read()) {
        fail(d->tables.error());
        return;
    }
    if (!d->interfaceName.isEmpty() && d->interfaceName != d->tables.interfaceName()) {
        fail(QStringLiteral("the default route is on %1, not on %2")
                 .arg(d->tables.interfaceName(), d->interfaceName));
        return;
    }
    if (!d->searching) {
        // Reported from the event loop, as a scanner that waits for answers would report.
        QTimer::singleShot(0, this, &HomeScanner::complete);
        return;
    }
    const QNetworkInterface nic = QNetworkInterface::interfaceFromName(d->tables.interfaceName());
    if (!nic.isValid()) {
        fail(QStringLiteral("the interface %1 of the default route is gone")
                 .arg(d->tables.interfaceName()));
        return;
    }
    d->upnp = new UpnpScanner(nic, this);
    d->upnp->setListenWindow(d->window);
    d->upnp->setGatewayAddress(QHostAddress(d->tables.gatewayAddress()));
    connect(d->upnp, &Scanner::discovered, this,
            [this](const Record &record) { d->upnpRecords.append(record); });
    connect(d->upnp, &Scanner::finished, this, [this] {
        d->upnp->deleteLater();
        searchNames();
    });
    d->upnp->start();
}

void HomeScanner::searchNames()
{
    // The devices that answered are in the neighbour table now.
    const QString interfaceName = d->tables.interfaceName();
    const QString problem = d->readTablesAgain();
    if (!problem.isEmpty()) {
        fail(problem);
        return;
    }
    QList<QHostAddress> addresses;
    const QList<HostTables::Neighbour> neighbours = d->tables.neighbours();
    for (const HostTables::Neighbour &neighbour : neighbours) {
        if (neighbour.interfaceName == interfaceName)
            addresses.append(QHostAddress(neighbour.ip));
    }
    for (const Record &record : qAsConst(d->upnpRecords))
        addresses.append(QHostAddress(record.value(zelmw::DEVICE_PARAM_LAN_IPADDRESS)));
    d->names
        = new NameScanner(QNetworkInterface::interfaceFromName(interfaceName), addresses, this);
    d->names->setListenWindow(qMin(NAME_WINDOW_MS, d->window));
    connect(d->names, &Scanner::discovered, this,
            [this](const Record &record) { d->nameRecords.append(record); });
    connect(d->names, &Scanner::finished, this, [this] {
        d->names->deleteLater();
        // And so are the workstations that answered the browse.
        const QString problem = d->readTablesAgain();
        if (problem.isEmpty())
            complete();
        else
            fail(problem);
    });
    d->names->start();
}

void HomeScanner::fail(const QString &reason)
{
    d->error = reason;
    QTimer::singleShot(0, this, [this] {
        d->running = false;
        emit finished();
    });
}

void HomeScanner::complete()
{
    HomeFindings found;
    found.gatewayAddress = d->tables.gatewayAddress();
    found.interfaceName = d->tables.interfaceName();
    if (d->tables.macOf(found.gatewayAddress).isEmpty()) {
        fail(QStringLiteral("the gateway %1 is not in the neighbour table %2/arp")
                 .arg(found.gatewayAddress, d->procNetDirectory));
        return;
    }
    found.neighbours = d->tables.neighbours();
    found.localPc = localPcRecord(found.interfaceName);
    found.upnp = d->upnpRecords;
    found.names = d->nameRecords;
    // The IPv6 table only adds devices; without it the search still stands.
    QString problem;
    if (d->searching && !readIpv6Neighbours(found.ipv6Neighbours, problem))
        qCWarning(homeLog).noquote() << "HomeScanner:" << problem;
    QStringList unknown;
    const QList<Record> records = mergeHomeRecords(found, unknown);
    for (const QString &responder : qAsConst(unknown))
        qCWarning(homeLog).noquote() << "HomeScanner:" << responder
                                     << "answered the UPnP search but has no MAC address in the "
                                        "neighbour table: left out";

    d->running = false;
    for (const Record &record : records)
        emit discovered(record);
    emit finished();
}

} // namespace zelscan
