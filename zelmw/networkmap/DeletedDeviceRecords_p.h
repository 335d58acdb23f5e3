#ifndef ZELMW_NETWORKMAP_DELETEDDEVICERECORDS_P_H
#define ZELMW_NETWORKMAP_DELETEDDEVICERECORDS_P_H

#include <QMap>
#include <QString>
#include <QStringList>

namespace zelmw {

class NetworkMapObject;

// What users gave the devices that left one map (a user-defined name, a login), kept by MAC
// address so that a device that comes back gets it again. Bounded: the newest
// MAX_PER_MAP of a map, none older than DELETED_DEVICE_RETENTION_DAYS. Part of its map's
// private state, used under the model lock within the unit of work of the change.
class DeletedDeviceRecords
{
public:
    static const int MAX_PER_MAP = 2000;

    // The details a user gives a device, as opposed to what discovery reports.
    static const QStringList &userDetails();

    // Keeps DEVICE's user details, if it has any, for its return to the map MAPID, and drops
    // the records beyond the bounds. False when the store refused.
    bool keep(int mapId, const NetworkMapObject &device);
    // What was kept for MAC on the map, taken out of the store; empty when nothing was. Costs
    // no query while the map is known to have no records.
    QMap<QString, QString> takeBack(int mapId, const QString &mac);
    // Drops what was kept for MAC on the map: the address now stands for another device.
    bool drop(int mapId, const QString &mac);

private:
    // Whether the map has records: learnt once, then followed. A unit that rolls back may
    // leave it at Some, which only costs a query.
    enum class Known { Unknown, None, Some };
    Known m_known = Known::Unknown;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_DELETEDDEVICERECORDS_P_H
