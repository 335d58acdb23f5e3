#include <zelscan/HomeScanner.h>

#include <zelscan/host/HostTables.h>
#include <zelscan/host/LocalPcRecord.h>

#include <zelmw/vocabulary/ZelConstants.h>

#include <QHostAddress>
#include <QTimer>

#include <algorithm>

namespace zelscan {

using Record = QMap<QString, QString>;

class HomeScanner::Private
{
public:
    QString procNetDirectory = QStringLiteral("/proc/net");
    QString interfaceName;

    bool running = false;
    // The tables as start() read them, reported by complete().
    HostTables tables { QString() };
    QString error;
};

HomeScanner::HomeScanner(QObject *parent)
    : Scanner(parent)
    , d(new Private)
{ }

HomeScanner::~HomeScanner() = default;

void HomeScanner::setProcNetDirectory(const QString &directory)
{
    d->procNetDirectory = directory;
}

void HomeScanner::setInterfaceName(const QString &name)
{
    d->interfaceName = name;
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
    // Reported from the event loop, as a scanner that waits for answers would report.
    QTimer::singleShot(0, this, &HomeScanner::complete);
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
    const HostTables &tables = d->tables;
    const QString gatewayIp = tables.gatewayAddress();
    const QString gatewayMac = tables.macOf(gatewayIp);
    if (gatewayMac.isEmpty()) {
        fail(QStringLiteral("the gateway %1 is not in the neighbour table %2/arp")
                 .arg(gatewayIp, d->procNetDirectory));
        return;
    }
    Record gateway;
    gateway.insert(zelmw::NS_DEVICE_TYPE, zelmw::DEVICE_TYPE_GATEWAY);
    gateway.insert(zelmw::DEVICE_PARAM_LAN_MACADDRESS, gatewayMac);
    gateway.insert(zelmw::DEVICE_PARAM_LAN_IPADDRESS, gatewayIp);
    gateway.insert(zelmw::GATEWAY_PARAM_ISROUTER, zelmw::BOOL_TRUE_VALUE);

    QList<Record> others;
    const QList<HostTables::Neighbour> neighbours = tables.neighbours();
    for (const HostTables::Neighbour &neighbour : neighbours) {
        if (neighbour.ip == gatewayIp || neighbour.interfaceName != tables.interfaceName())
            continue;
        Record record;
        record.insert(zelmw::NS_DEVICE_TYPE, zelmw::DEVICE_TYPE_UNKNOWN_DEVICE);
        record.insert(zelmw::DEVICE_PARAM_LAN_MACADDRESS, neighbour.mac);
        record.insert(zelmw::DEVICE_PARAM_LAN_IPADDRESS, neighbour.ip);
        others.append(record);
    }
    const auto address = [](const Record &record) {
        return QHostAddress(record.value(zelmw::DEVICE_PARAM_LAN_IPADDRESS)).toIPv4Address();
    };
    std::sort(others.begin(), others.end(),
              [&](const Record &a, const Record &b) { return address(a) < address(b); });

    d->running = false;
    emit discovered(gateway);
    const Record pc = localPcRecord(tables.interfaceName());
    if (!pc.isEmpty())
        emit discovered(pc);
    for (const Record &record : qAsConst(others))
        emit discovered(record);
    emit finished();
}

} // namespace zelscan
