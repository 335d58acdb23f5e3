#include <zelmw/networkmap/DeviceAddressIndex_p.h>

#include <zelmw/networkmap/NetworkMapObject.h>

#include <algorithm>

namespace zelmw {

namespace {

// Counts the changes of any device's addresses and of any map's devices.
quint64 generation = 1;

bool byAddress(const DeviceAddressIndex::Entry &a, const DeviceAddressIndex::Entry &b)
{
    return a.address < b.address;
}

} // namespace

DeviceAddressIndex::DeviceAddressIndex(AddressOf addressOf)
    : m_addressOf(addressOf)
{ }

void DeviceAddressIndex::invalidateAll()
{
    ++generation;
}

const DeviceAddressIndex::Entries &
DeviceAddressIndex::entries(const TwoKeyRegistry<QString, NetworkMapObject> &devices)
{
    if (m_generation == generation)
        return m_entries;
    Entries entries;
    entries.reserve(devices.size());
    devices.forEach(
        [&](const DevicePtr &device) { entries.append({ m_addressOf(*device), device }); });
    // Stable: the devices come in ascending id and keep that order within an address.
    std::stable_sort(entries.begin(), entries.end(), byAddress);
    // Copies of the texts, not shares of the devices': the lookups compare them, and copied
    // in order they lie together instead of one with each device.
    for (Entry &entry : entries)
        entry.address = QString(entry.address.constData(), entry.address.size());
    m_entries = entries;
    m_generation = generation;
    return m_entries;
}

DeviceAddressIndex::Entries::const_iterator DeviceAddressIndex::find(const Entries &entries,
                                                                     const QString &address)
{
    const auto found = std::lower_bound(entries.cbegin(), entries.cend(),
                                        Entry { address, DevicePtr() }, byAddress);
    return found != entries.cend() && found->address == address ? found : entries.cend();
}

} // namespace zelmw
