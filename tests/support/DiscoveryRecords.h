#ifndef ZELTEST_DISCOVERYRECORDS_H
#define ZELTEST_DISCOVERYRECORDS_H

#include <zelmw/discovery/DiscoveryHandler.h>
#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QTest>

namespace zeltest {

// Device N of the home network: MAC "aa:bb:cc:00:00:N" (N in decimal), IP 192.168.1.N.
inline QString mac(int n)
{
    return QStringLiteral("aa:bb:cc:00:00:%1").arg(n, 2, 10, QLatin1Char('0'));
}

// A scanner's record of device N, of KIND, with the keys of RECORD.
inline zelmw::DiscoveryType device(const QString &kind, int n, zelmw::DiscoveryType record = {})
{
    record.insert(zelmw::NS_DEVICE_TYPE, kind);
    record.insert(zelmw::DEVICE_PARAM_LAN_MACADDRESS, mac(n));
    record.insert(zelmw::DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("192.168.1.%1").arg(n));
    return record;
}

// The home network's router, device 1.
inline zelmw::DiscoveryType router(zelmw::DiscoveryType record = {})
{
    record.insert(zelmw::GATEWAY_PARAM_ISROUTER, zelmw::BOOL_TRUE_VALUE);
    return device(zelmw::DEVICE_TYPE_GATEWAY, 1, record);
}

inline zelmw::NetworkMapSharedPtr mapInUse()
{
    return zelmw::InUseMapController::getInstance()->getInUseNetworkMap();
}

// Whether the listener finished COUNT records since the process started, within TIMEOUT ms.
inline bool waitProcessed(qint64 count, int timeout = 5000)
{
    return QTest::qWaitFor(
        [=] { return zelmw::DiscoveryHandler().processedDiscoveryCount() >= count; }, timeout);
}

// Has the listener apply RECORDS; whether it finished them within TIMEOUT ms.
inline bool apply(const QList<zelmw::DiscoveryType> &records, int timeout = 30000)
{
    const qint64 done = zelmw::DiscoveryHandler().processedDiscoveryCount() + records.size();
    for (const zelmw::DiscoveryType &record : records)
        zelmw::DiscoveryHandler().addDiscovery(record);
    return waitProcessed(done, timeout);
}

} // namespace zeltest

#endif // ZELTEST_DISCOVERYRECORDS_H
