#ifndef ZELMW_NETWORKMAP_DEVICEREGISTRY_P_H
#define ZELMW_NETWORKMAP_DEVICEREGISTRY_P_H

#include <zelmw/networkmap/DeviceAddressIndex_p.h>
#include <zelmw/vocabulary/TwoKeyRegistry_p.h>

#include <QHash>
#include <QList>
#include <QString>
#include <boost/shared_ptr.hpp>

namespace zelmw {

class NetworkMapObject;

// The devices of one map: in ascending id, by the MAC address each had when it was entered,
// how many have each MAC address, and by IP address with the devices not steadily connected
// beside them. The map passes on what its devices report (an address, a MAC address or a
// connection changed), and the registry drops what that makes stale; no state is shared
// between maps. Inside a unit of work its changes are undone if the unit fails. Guarded by
// the model lock.
class DeviceRegistry
{
public:
    using DevicePtr = boost::shared_ptr<NetworkMapObject>;

    DeviceRegistry();
    ~DeviceRegistry();
    DeviceRegistry(const DeviceRegistry &) = delete;
    DeviceRegistry &operator=(const DeviceRegistry &) = delete;

    // Enters DEVICE (null: nothing) under its id and its MAC address as it is now. No device
    // with its id may be entered: the map takes any such device out first.
    void add(const DevicePtr &device);
    // Takes out the device with ID, whatever its MAC address is now; null when there is none.
    DevicePtr remove(int id);

    DevicePtr get(int id) const { return m_devices.get(id); }
    // By the MAC address as entered, compared exactly.
    DevicePtr find(const QString &mac) const { return m_devices.find(mac); }
    bool containsId(int id) const { return m_devices.containsId(id); }
    bool containsMac(const QString &mac) const { return m_devices.containsKey(mac); }
    // In ascending id.
    QList<DevicePtr> values() const { return m_devices.values(); }
    int size() const { return m_devices.size(); }

    // Whether a device other than EXCEPT has MAC, compared ignoring case.
    bool hasMac(const QString &mac, const DevicePtr &except);
    // The devices by IP address; copies share them and stay valid while devices change.
    const DeviceAddressIndex::Entries &byIp() { return m_byIp.entries(m_devices); }
    // Among them, the first device of each address that is not steadily connected.
    const DeviceAddressIndex::Entries &unsteadyByIp() { return m_byIp.unsteadyEntries(m_devices); }

    // A device's IP address changed.
    void addressChanged() { m_byIp.invalidate(); }
    // A device's MAC address changed.
    void macChanged() { m_macCountsValid = false; }
    // A device's connection changed between steady and not.
    void connectionsChanged() { m_byIp.connectionsChanged(); }

private:
    void count(const NetworkMapObject &device, int delta);
    void changed();

    TwoKeyRegistry<QString, NetworkMapObject> m_devices;
    // Case-folded MAC address to how many devices have it: counted on first use, not while a
    // map loads, and again after a device's MAC address was set, which is rare.
    QHash<QString, int> m_macCounts;
    bool m_macCountsValid = false;
    DeviceAddressIndex m_byIp;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_DEVICEREGISTRY_P_H
