#include <zelmw/networkmap/DeviceRegistry_p.h>

#include <zelmw/networkmap/NetworkMapObject_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>

namespace zelmw {

DeviceRegistry::DeviceRegistry()
    : m_byIp([](const NetworkMapObject &device) { return device.getIpAddress(); },
             [](const NetworkMapObject &device) {
                 return NetworkMapObject::Implementation::of(device).m_connection.isSteady();
             })
{ }

DeviceRegistry::~DeviceRegistry()
{
    UnitOfWork::forget(this);
}

void DeviceRegistry::add(const DevicePtr &device)
{
    if (!device)
        return;
    const int id = device->getId();
    UnitOfWork::onRollback(this, [this, id, device] {
        m_devices.removeId(id);
        changed();
    });
    m_devices.add(id, device->getMacAddress(), device);
    count(*device, 1);
    m_byIp.invalidate();
}

DeviceRegistry::DevicePtr DeviceRegistry::remove(int id)
{
    const QString mac = m_devices.keyOf(id);
    const DevicePtr device = m_devices.removeId(id);
    if (!device)
        return device;
    UnitOfWork::onRollback(this, [this, id, mac, device] {
        m_devices.add(id, mac, device);
        changed();
    });
    count(*device, -1);
    m_byIp.invalidate();
    return device;
}

bool DeviceRegistry::hasMac(const QString &mac, const DevicePtr &except)
{
    if (!m_macCountsValid) {
        m_macCounts.clear();
        m_macCountsValid = true;
        m_devices.forEach([this](const DevicePtr &device) { count(*device, 1); });
    }
    const QString folded = mac.toCaseFolded();
    int count = m_macCounts.value(folded);
    if (except && m_devices.get(except->getId()) == except
        && except->getMacAddress().toCaseFolded() == folded)
        --count;
    return count > 0;
}

void DeviceRegistry::count(const NetworkMapObject &device, int delta)
{
    if (!m_macCountsValid)
        return;
    const QString mac = device.getMacAddress().toCaseFolded();
    int &count = m_macCounts[mac];
    count += delta;
    if (count <= 0)
        m_macCounts.remove(mac);
}

void DeviceRegistry::changed()
{
    m_macCountsValid = false;
    m_byIp.invalidate();
}

} // namespace zelmw
