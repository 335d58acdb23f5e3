#include <zelscan/host/LocalPcRecord.h>

#include <zelmw/vocabulary/ZelConstants.h>

#include <QNetworkInterface>
#include <QSysInfo>

namespace zelscan {

QMap<QString, QString> localPcRecord(const QString &interfaceName)
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
        return {};
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
    return record;
}

} // namespace zelscan
