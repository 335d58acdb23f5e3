#include <zelmw/networkmap/DeviceAddressIndex_p.h>

#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/vocabulary/SameText_p.h>

#include <algorithm>

namespace zelmw {

namespace {

bool byAddress(const DeviceAddressIndex::Entry &a, const DeviceAddressIndex::Entry &b)
{
    return a.address < b.address;
}

} // namespace

DeviceAddressIndex::DeviceAddressIndex(AddressOf addressOf, IsSteady isSteady)
    : m_addressOf(addressOf)
    , m_isSteady(isSteady)
{ }

void DeviceAddressIndex::invalidate()
{
    m_entriesValid = false;
    m_unsteadyValid = false;
}

void DeviceAddressIndex::connectionsChanged()
{
    m_unsteadyValid = false;
}

const DeviceAddressIndex::Entries &
DeviceAddressIndex::entries(const TwoKeyRegistry<QString, NetworkMapObject> &devices)
{
    if (m_entriesValid)
        return m_entries;
    Entries entries;
    entries.reserve(devices.size());
    devices.forEach([&](const DevicePtr &device) {
        entries.append({ m_addressOf(*device), device });
    });
    // Stable: the devices come in ascending id and keep that order within an address.
    std::stable_sort(entries.begin(), entries.end(), byAddress);
    // Copies of the texts, not shares of the devices': the lookups compare them, and copied
    // in order they lie together instead of one with each device.
    for (Entry &entry : entries)
        entry.address = QString(entry.address.constData(), entry.address.size());
    m_entries = entries;
    m_entriesValid = true;
    m_unsteadyValid = false;
    return m_entries;
}

const DeviceAddressIndex::Entries &
DeviceAddressIndex::unsteadyEntries(const TwoKeyRegistry<QString, NetworkMapObject> &devices)
{
    const Entries &all = entries(devices);
    if (m_unsteadyValid)
        return m_unsteady;
    Entries unsteady;
    for (auto entry = all.cbegin(); entry != all.cend(); ++entry) {
        const bool first = entry == all.cbegin() || (entry - 1)->address != entry->address;
        if (first && !m_isSteady(*entry->device))
            unsteady.append(*entry);
    }
    m_unsteady = unsteady;
    m_unsteadyValid = true;
    return m_unsteady;
}

DeviceAddressIndex::Entries::const_iterator DeviceAddressIndex::find(const Entries &entries,
                                                                     const QString &address)
{
    const auto found = std::lower_bound(entries.cbegin(), entries.cend(),
                                        Entry { address, DevicePtr() }, byAddress);
    return found != entries.cend() && found->address == address ? found : entries.cend();
}

bool DeviceAddressIndex::seek(Entries::const_iterator &at, Entries::const_iterator end,
                              const QString &address)
{
    // Most walks meet the address they look for next: equal texts are found by their bytes,
    // before the slower ordering is asked.
    for (; at != end; ++at) {
        if (sameText(at->address, address))
            return true;
        if (!(at->address < address))
            return false;
    }
    return false;
}

} // namespace zelmw
