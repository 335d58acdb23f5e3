#ifndef ZELMW_NETWORKMAP_PRESENCEHISTORY_P_H
#define ZELMW_NETWORKMAP_PRESENCEHISTORY_P_H

#include <zelmw/networkmap/PresenceSession.h>

#include <QList>
#include <QString>

namespace zelmw {

// When each device was connected to its map: a session per connection, kept by map and MAC
// address so that it outlives a type change and a deletion. Bounded per MAC by
// SESSIONS_PER_DEVICE and in age by SESSION_RETENTION_DAYS. Each call joins the caller's
// unit of work; false when the store refused.
class PresenceHistory
{
public:
    // The device MAC connected to the map at AT (UTC): a session starts, unless one is open.
    static bool connected(int mapId, const QString &mac, const QDateTime &at);
    // A new device MAC, connected at AT: a session starts, with no need to look for an open
    // one (a device leaving its map ends its session).
    static bool started(int mapId, const QString &mac, const QDateTime &at);
    // It disconnected at AT: its open session ends, and the history is cut to its bounds.
    static bool disconnected(int mapId, const QString &mac, const QDateTime &at);
    // Its sessions on the map, oldest first.
    static QList<PresenceSession> sessions(int mapId, const QString &mac);
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_PRESENCEHISTORY_P_H
