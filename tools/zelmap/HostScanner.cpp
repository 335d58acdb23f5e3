#include "HostScanner.h"

#include <zelmw/vocabulary/ZelConstants.h>

#include <QFile>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QSysInfo>
#include <QtEndian>

namespace {

const unsigned ROUTE_FLAG_GATEWAY = 0x2;
const unsigned ARP_FLAG_COMPLETE = 0x2;

bool readLines(const QString &path, QStringList &lines, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = path + QStringLiteral(": cannot read: ") + file.errorString();
        return false;
    }
    lines = QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!lines.isEmpty())
        lines.removeFirst(); // column titles
    return true;
}

} // namespace

HostScanner::HostScanner(const QString &procNetDir)
    : m_procNetDir(procNetDir)
{ }

bool HostScanner::readDefaultRoute(QString &gatewayIp, QString &interfaceName)
{
    QStringList lines;
    if (!readLines(m_procNetDir + QStringLiteral("/route"), lines, m_error))
        return false;
    for (const QString &line : qAsConst(lines)) {
        const QStringList columns = line.simplified().split(QLatin1Char(' '));
        if (columns.size() < 4 || columns.at(1) != QLatin1String("00000000"))
            continue;
        bool ok = false;
        const unsigned flags = columns.at(3).toUInt(&ok, 16);
        const quint32 gateway = columns.at(2).toUInt(&ok, 16);
        if (!ok || !(flags & ROUTE_FLAG_GATEWAY))
            continue;
        // The kernel prints the address's network-order bytes as a host-order number.
        gatewayIp = QHostAddress(qFromBigEndian(gateway)).toString();
        interfaceName = columns.at(0);
        return true;
    }
    m_error = m_procNetDir + QStringLiteral("/route: no default route through a gateway");
    return false;
}

bool HostScanner::readNeighbours(QList<Neighbour> &neighbours)
{
    QStringList lines;
    if (!readLines(m_procNetDir + QStringLiteral("/arp"), lines, m_error))
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
        neighbours.append({ columns.at(0), columns.at(3).toUpper(), columns.at(5) });
    }
    return true;
}

void HostScanner::addLocalPc(const QString &interfaceName)
{
    const QNetworkInterface nic = QNetworkInterface::interfaceFromName(interfaceName);
    QString ip;
    const QList<QNetworkAddressEntry> entries = nic.addressEntries();
    for (const QNetworkAddressEntry &entry : entries) {
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
            ip = entry.ip().toString();
            break;
        }
    }
    if (!nic.isValid() || ip.isEmpty() || nic.hardwareAddress().isEmpty())
        return; // the tables name an interface this host does not have (fixture files)
    QMap<QString, QString> record;
    record.insert(zelmw::NS_DEVICE_TYPE, zelmw::DEVICE_TYPE_PC);
    record.insert(zelmw::DEVICE_PARAM_LAN_MACADDRESS, nic.hardwareAddress().toUpper());
    record.insert(zelmw::DEVICE_PARAM_LAN_IPADDRESS, ip);
    record.insert(zelmw::DEVICE_PARAM_NAME, QSysInfo::machineHostName());
    record.insert(zelmw::PC_PARAM_ISLOCALZEL, zelmw::BOOL_TRUE_VALUE);
    record.insert(zelmw::PC_PARAM_LOCALZEL_NIC, nic.name());
    record.insert(zelmw::PC_PARAM_PLATFORM, QSysInfo::kernelType());
    record.insert(zelmw::PC_PARAM_PLATFORMNAME, QSysInfo::prettyProductName());
    record.insert(zelmw::DEVICE_PARAM_LAN_CONNECTION_ISWIRELESS,
                  nic.type() == QNetworkInterface::Wifi ? zelmw::BOOL_TRUE_VALUE
                                                        : zelmw::BOOL_FALSE_VALUE);
    m_records.append(record);
}

bool HostScanner::scan()
{
    m_records.clear();
    QString gatewayIp;
    QString interfaceName;
    QList<Neighbour> neighbours;
    if (!readDefaultRoute(gatewayIp, interfaceName) || !readNeighbours(neighbours))
        return false;

    QString gatewayMac;
    for (const Neighbour &neighbour : qAsConst(neighbours)) {
        if (neighbour.ip == gatewayIp)
            gatewayMac = neighbour.mac;
    }
    if (gatewayMac.isEmpty()) {
        m_error = QStringLiteral("the gateway %1 is not in the neighbour table %2/arp")
                      .arg(gatewayIp, m_procNetDir);
        return false;
    }
    // The gateway comes first: it creates or selects the map the other records go to.
    QMap<QString, QString> gateway;
    gateway.insert(zelmw::NS_DEVICE_TYPE, zelmw::DEVICE_TYPE_GATEWAY);
    gateway.insert(zelmw::DEVICE_PARAM_LAN_MACADDRESS, gatewayMac);
    gateway.insert(zelmw::DEVICE_PARAM_LAN_IPADDRESS, gatewayIp);
    gateway.insert(zelmw::GATEWAY_PARAM_ISROUTER, zelmw::BOOL_TRUE_VALUE);
    m_records.append(gateway);

    addLocalPc(interfaceName);

    for (const Neighbour &neighbour : qAsConst(neighbours)) {
        if (neighbour.ip == gatewayIp)
            continue;
        QMap<QString, QString> record;
        record.insert(zelmw::NS_DEVICE_TYPE, zelmw::DEVICE_TYPE_UNKNOWN_DEVICE);
        record.insert(zelmw::DEVICE_PARAM_LAN_MACADDRESS, neighbour.mac);
        record.insert(zelmw::DEVICE_PARAM_LAN_IPADDRESS, neighbour.ip);
        m_records.append(record);
    }
    return true;
}
