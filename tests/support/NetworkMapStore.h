#ifndef ZELTEST_NETWORKMAPSTORE_H
#define ZELTEST_NETWORKMAPSTORE_H

#include <zelmw/networkmap/NetworkMapObjectDataHandler_p.h>

// The model's factories come with the fresh start.
#include "ModelReset.h"
#include "RawStore.h"

// The network-map model's rows, for what the entities do not show, and stored devices made
// without a map.
class NetworkMapStore : public zeltest::RawStore
{
public:
    // A stored device of the type TYPENAME (added to the catalogue when new), connected.
    static boost::shared_ptr<zelmw::NetworkMapObject>
    device(const QString &typeName, const QString &mac = QStringLiteral("00:11:22:33:44:55"))
    {
        const auto record = zelmw::NetworkMapObjectDataHandler().addRecord(
            zelmw::MapObjectFactory::getInstance()->getMapObject(typeName, true)->getId(), 1,
            QStringLiteral("device"), mac, QStringLiteral("10.0.0.2"), true);
        return boost::shared_ptr<zelmw::NetworkMapObject>(new zelmw::NetworkMapObject(record));
    }

    // A new object over the stored rows, when no cached map holds the device.
    static boost::shared_ptr<zelmw::NetworkMapObject> reload(int id)
    {
        zelmw::NetworkMapObjectFactory::getInstance()->clear();
        return zelmw::NetworkMapObjectFactory::getInstance()->getNetworkMapObject(id);
    }

    // COLUMNS, an SQL expression, of the stored device ID.
    QString deviceRow(int id, const QString &columns)
    {
        return value("SELECT " + columns + " FROM NetworkMapObjects WHERE Id = ?", { id });
    }

    int detailRows() { return rowCount(QStringLiteral("NetworkMapObjectDetails")); }
};

#endif // ZELTEST_NETWORKMAPSTORE_H
