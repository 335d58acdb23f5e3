#ifndef ZELMW_NETWORKMAP_DEVICEADDRESSINDEX_P_H
#define ZELMW_NETWORKMAP_DEVICEADDRESSINDEX_P_H

#include <zelmw/vocabulary/TwoKeyRegistry_p.h>

#include <QString>
#include <QVector>
#include <boost/shared_ptr.hpp>

namespace zelmw {

class NetworkMapObject;

// A map's devices by an address of theirs, for lookups that would otherwise read every
// device's details: a connection report names every device's IP address. Sorted by address,
// the devices of one address in ascending id. Rebuilt on the first use after invalidateAll(),
// which the model calls whenever any device's address or any map's set of devices may have
// changed; such changes are rare next to the reports. Guarded by the model lock.
class DeviceAddressIndex
{
public:
    using DevicePtr = boost::shared_ptr<NetworkMapObject>;
    struct Entry
    {
        QString address;
        DevicePtr device;
    };
    using Entries = QVector<Entry>;
    using AddressOf = QString (*)(const NetworkMapObject &device);

    explicit DeviceAddressIndex(AddressOf addressOf);

    static void invalidateAll();

    // The entries over DEVICES, read again when invalidated. A copy shares them, and stays
    // valid while the devices change.
    const Entries &entries(const TwoKeyRegistry<QString, NetworkMapObject> &devices);
    // The first entry of ADDRESS in ENTRIES, or their end.
    static Entries::const_iterator find(const Entries &entries, const QString &address);

private:
    AddressOf m_addressOf;
    Entries m_entries;
    quint64 m_generation = 0;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_DEVICEADDRESSINDEX_P_H
