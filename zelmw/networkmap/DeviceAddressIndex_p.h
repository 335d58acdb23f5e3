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
// the devices of one address in ascending id. Rebuilt on the first use after invalidate(),
// which its owner calls whenever a device's address or the set of devices may have changed;
// such changes are rare next to the reports. Beside them the unsteady entries: the first
// device of each address, where the owner's predicate calls it unsteady. The map calls steady
// a device that a "connected" report leaves as it is, so that such reports, the most of every
// report, look only among the few others. Guarded by the model lock.
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
    using IsSteady = bool (*)(const NetworkMapObject &device);

    DeviceAddressIndex(AddressOf addressOf, IsSteady isSteady);

    void invalidate();
    // Called whenever a device's steadiness may have changed.
    void connectionsChanged();

    // The entries over DEVICES, read again when invalidated. A copy shares them, and stays
    // valid while the devices change.
    const Entries &entries(const TwoKeyRegistry<QString, NetworkMapObject> &devices);
    // The unsteady ones among them, alike, read again also after connectionsChanged().
    const Entries &unsteadyEntries(const TwoKeyRegistry<QString, NetworkMapObject> &devices);
    // The first entry of ADDRESS in ENTRIES, or their end.
    static Entries::const_iterator find(const Entries &entries, const QString &address);
    // For a walk through entries and addresses, both ascending: moves AT forward to the first
    // entry of ADDRESS, true, or to the first entry past it or END, false.
    static bool seek(Entries::const_iterator &at, Entries::const_iterator end,
                     const QString &address);

private:
    AddressOf m_addressOf;
    IsSteady m_isSteady;
    Entries m_entries;
    Entries m_unsteady;
    bool m_entriesValid = false;
    bool m_unsteadyValid = false;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_DEVICEADDRESSINDEX_P_H
