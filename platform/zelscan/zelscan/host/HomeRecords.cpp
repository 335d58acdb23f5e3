#include <zelscan/host/HomeRecords_p.h>

#include <zelmw/vocabulary/ZelConstants.h>

#include <QHostAddress>

#include <algorithm>

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

    const auto numeric
        = [](const Record &record) { return QHostAddress(addressOf(record)).toIPv4Address(); };
    std::stable_sort(others.begin(), others.end(),
                     [&](const Record &a, const Record &b) { return numeric(a) < numeric(b); });
    QList<Record> records;
    if (!gateway.isEmpty())
        records.append(gateway);
    if (!found.localPc.isEmpty())
        records.append(found.localPc);
    return records + others;
}

} // namespace zelscan
