#include <zelscan/host/HostTables.h>

#include <QFile>
#include <QHostAddress>
#include <QtEndian>

namespace zelscan {

namespace {

const unsigned ROUTE_FLAG_GATEWAY = 0x2;
const unsigned ARP_FLAG_COMPLETE = 0x2;
// Far more than any home network has: a table beyond it is not read further.
const int MAX_TABLE_BYTES = 4 * 1024 * 1024;

} // namespace

HostTables::HostTables(const QString &procNetDirectory)
    : m_directory(procNetDirectory)
{ }

bool HostTables::readLines(const QString &table, QStringList &lines)
{
    const QString path = m_directory + QLatin1Char('/') + table;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_error = path + QStringLiteral(": cannot read: ") + file.errorString();
        return false;
    }
    lines = QString::fromLocal8Bit(file.read(MAX_TABLE_BYTES))
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!lines.isEmpty())
        lines.removeFirst(); // column titles
    return true;
}

bool HostTables::readDefaultRoute()
{
    QStringList lines;
    if (!readLines(QStringLiteral("route"), lines))
        return false;
    for (const QString &line : qAsConst(lines)) {
        const QStringList columns = line.simplified().split(QLatin1Char(' '));
        if (columns.size() < 4 || columns.at(1) != QLatin1String("00000000"))
            continue;
        bool flagsOk = false;
        bool gatewayOk = false;
        const unsigned flags = columns.at(3).toUInt(&flagsOk, 16);
        const quint32 gateway = columns.at(2).toUInt(&gatewayOk, 16);
        if (!flagsOk || !gatewayOk || !(flags & ROUTE_FLAG_GATEWAY))
            continue;
        // The kernel prints the address's network-order bytes as a host-order number.
        m_gatewayAddress = QHostAddress(qFromBigEndian(gateway)).toString();
        m_interfaceName = columns.at(0);
        return true;
    }
    m_error = m_directory + QStringLiteral("/route: no default route through a gateway");
    return false;
}

bool HostTables::readNeighbours()
{
    QStringList lines;
    if (!readLines(QStringLiteral("arp"), lines))
        return false;
    for (const QString &line : qAsConst(lines)) {
        const QStringList columns = line.simplified().split(QLatin1Char(' '));
        if (columns.size() < 6)
            continue;
        bool ok = false;
        const unsigned flags = columns.at(2).toUInt(&ok, 16);
        if (!ok || !(flags & ARP_FLAG_COMPLETE)
            || columns.at(3) == QLatin1String("00:00:00:00:00:00"))
            continue;
        m_neighbours.append({ columns.at(0), columns.at(3).toUpper(), columns.at(5) });
    }
    return true;
}

bool HostTables::read()
{
    m_gatewayAddress.clear();
    m_interfaceName.clear();
    m_neighbours.clear();
    m_error.clear();
    return readDefaultRoute() && readNeighbours();
}

QString HostTables::macOf(const QString &ip) const
{
    for (const Neighbour &neighbour : m_neighbours) {
        if (neighbour.ip == ip)
            return neighbour.mac;
    }
    return QString();
}

} // namespace zelscan
