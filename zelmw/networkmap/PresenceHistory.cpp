#include <zelmw/networkmap/PresenceHistory_p.h>

#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/DeviceSessionDataHandler_p.h>
#include <zelmw/vocabulary/ZelConstants.h>

namespace zelmw {

namespace {

// A configured bound; missing, not a number or below one: its default.
int configured(const QString &key, const QString &fallback)
{
    const int value = ConfigDataFactory::getInstance()->getConfigValue(key).toInt();
    return value >= 1 ? value : fallback.toInt();
}

} // namespace

bool PresenceHistory::connected(int mapId, const QString &mac, const QDateTime &at)
{
    DeviceSessionDataHandler rows;
    const QString key = mac.toUpper();
    return !rows.getRecords(mapId, key, true).isEmpty() || rows.addRecord(mapId, key, at);
}

bool PresenceHistory::started(int mapId, const QString &mac, const QDateTime &at)
{
    return DeviceSessionDataHandler().addRecord(mapId, mac.toUpper(), at);
}

bool PresenceHistory::disconnected(int mapId, const QString &mac, const QDateTime &at)
{
    DeviceSessionDataHandler rows;
    const QString key = mac.toUpper();
    for (const DeviceSessionDataHandler::RecordPtr &open : rows.getRecords(mapId, key, true)) {
        if (!rows.closeRecord(*open, at))
            return false;
    }
    return rows.deleteBeyond(
        key, configured(SESSIONS_PER_DEVICE, SESSIONS_PER_DEVICE_DEFAULT),
        at.addDays(-configured(SESSION_RETENTION_DAYS, SESSION_RETENTION_DAYS_DEFAULT)));
}

QList<PresenceSession> PresenceHistory::sessions(int mapId, const QString &mac)
{
    QList<PresenceSession> sessions;
    for (const DeviceSessionDataHandler::RecordPtr &row :
         DeviceSessionDataHandler().getRecords(mapId, mac.toUpper()))
        sessions.append({ row->ConnectedFrom(), row->IsOpen() ? QDateTime() : row->ConnectedTo() });
    return sessions;
}

} // namespace zelmw
