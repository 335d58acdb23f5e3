#ifndef ZELMW_NETWORKMAP_MACALIASES_P_H
#define ZELMW_NETWORKMAP_MACALIASES_P_H

#include <QHash>
#include <QString>
#include <QStringList>

namespace zelmw {

// The MAC addresses that stand for devices of one map other than their own: those of devices
// merged into them. Read from the store once, at the first use, and followed since, so that a
// discovery record costs no query for them. Part of its map's private state, used under the
// model lock within the unit of work of the change, which restores it if the unit fails.
class MacAliases
{
public:
    MacAliases() = default;
    ~MacAliases();
    MacAliases(const MacAliases &) = delete;
    MacAliases &operator=(const MacAliases &) = delete;

    // The id of the device MAC (any letter case) stands for on the map MAPID; 0 when none,
    // also when the store could not be read.
    int deviceOf(int mapId, const QString &mac);
    // The aliases of the device, in ascending order.
    QStringList of(int mapId, int deviceId);
    // MAC stands for the device from now on. False when the store refused.
    bool add(int mapId, const QString &mac, int deviceId);
    // The aliases of FROMID stand for TOID from now on.
    bool move(int mapId, int fromId, int toId);
    // The device's aliases go, with the device.
    bool removeAll(int mapId, int deviceId);

private:
    bool load(int mapId);
    void remember();

    QHash<QString, int> m_aliases;
    bool m_loaded = false;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_MACALIASES_P_H
