#include <zelscan/host/HomeRecords_p.h>

#include <zelmw/vocabulary/ZelConstants.h>

#include <QHostAddress>
#include <QSet>

#include <algorithm>
#include <cstring>

namespace zelscan {

using Record = QMap<QString, QString>;

namespace {

QString addressOf(const Record &record)
{
    return record.value(zelmw::DEVICE_PARAM_LAN_IPADDRESS);
}

QMap<QString, Record> byAddress(const QList<Record> &records)
{
    QMap<QString, Record> result;
    for (const Record &record : records)
        result.insert(addressOf(record), record);
    return result;
}

bool ipv6Below(const QString &a, const QString &b)
{
    const Q_IPV6ADDR x = QHostAddress(a).toIPv6Address();
    const Q_IPV6ADDR y = QHostAddress(b).toIPv6Address();
    return std::memcmp(x.c, y.c, sizeof x.c) < 0;
}

// Whether A, of the same device as B, is the better address to know it by: a global one
// before a link-local one, else the lower.
bool preferredIpv6(const QString &a, const QString &b)
{
    const auto linkLocal = [](const QString &ip) {
        return QHostAddress(ip).isInSubnet(QHostAddress(QStringLiteral("fe80::")), 10);
    };
    if (linkLocal(a) != linkLocal(b))
        return !linkLocal(a);
    return ipv6Below(a, b);
}

} // namespace

QList<Record> mergeHomeRecords(const HomeFindings &found, QStringList &unknownResponders)
{
    QMap<QString, Record> upnp = byAddress(found.upnp);
    const QMap<QString, Record> names = byAddress(found.names);
    const QString pcAddress = addressOf(found.localPc);
    upnp.remove(pcAddress);

    Record gateway;
    QList<Record> others;
    for (const HostTables::Neighbour &neighbour : found.neighbours) {
        if (neighbour.interfaceName != found.interfaceName || neighbour.ip == pcAddress)
            continue;
        Record record;
        record.insert(zelmw::NS_DEVICE_TYPE, zelmw::DEVICE_TYPE_UNKNOWN_DEVICE);
        record.insert(zelmw::DEVICE_PARAM_LAN_MACADDRESS, neighbour.mac);
        record.insert(zelmw::DEVICE_PARAM_LAN_IPADDRESS, neighbour.ip);
        const Record described = upnp.take(neighbour.ip);
        for (auto field = described.cbegin(); field != described.cend(); ++field)
            record.insert(field.key(), field.value());
        const QString name = names.value(neighbour.ip).value(zelmw::DEVICE_PARAM_NAME);
        if (!name.isEmpty() && !record.contains(zelmw::UPNP_PARAM_FRIENDLYNAME))
            record.insert(zelmw::DEVICE_PARAM_NAME, name);
        if (neighbour.ip == found.gatewayAddress) {
            record.insert(zelmw::NS_DEVICE_TYPE, zelmw::DEVICE_TYPE_GATEWAY);
            record.insert(zelmw::GATEWAY_PARAM_ISROUTER, zelmw::BOOL_TRUE_VALUE);
            gateway = record;
        } else {
            others.append(record);
        }
    }
    unknownResponders.append(upnp.keys());

    // Devices seen over IPv6 only, one per MAC address, by address.
    QSet<QString> macs { found.localPc.value(zelmw::DEVICE_PARAM_LAN_MACADDRESS) };
    for (const HostTables::Neighbour &neighbour : found.neighbours)
        macs.insert(neighbour.mac);
    QMap<QString, QString> ipv6Only; // MAC to its address
    for (const HostTables::Neighbour &neighbour : found.ipv6Neighbours) {
        if (neighbour.interfaceName != found.interfaceName || macs.contains(neighbour.mac))
            continue;
        const QString known = ipv6Only.value(neighbour.mac);
        if (known.isEmpty() || preferredIpv6(neighbour.ip, known))
            ipv6Only.insert(neighbour.mac, neighbour.ip);
    }
    QList<Record> ipv6Records;
    for (auto device = ipv6Only.cbegin(); device != ipv6Only.cend(); ++device) {
        ipv6Records.append({ { zelmw::NS_DEVICE_TYPE, zelmw::DEVICE_TYPE_UNKNOWN_DEVICE },
                             { zelmw::DEVICE_PARAM_LAN_MACADDRESS, device.key() },
                             { zelmw::DEVICE_PARAM_LAN_IPADDRESS, device.value() } });
    }
    std::sort(ipv6Records.begin(), ipv6Records.end(), [](const Record &a, const Record &b) {
        return ipv6Below(addressOf(a), addressOf(b));
    });

    const auto numeric
        = [](const Record &record) { return QHostAddress(addressOf(record)).toIPv4Address(); };
    std::stable_sort(others.begin(), others.end(),
                     [&](const Record &a, const Record &b) { return numeric(a) < numeric(b); });
    QList<Record> records;
    if (!gateway.isEmpty())
        records.append(gateway);
    if (!found.localPc.isEmpty())
        records.append(found.localPc);
    return records + others + ipv6Records;
}

} // namespace zelscan
