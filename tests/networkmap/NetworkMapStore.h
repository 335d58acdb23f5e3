#ifndef ZELTEST_NETWORKMAPSTORE_H
#define ZELTEST_NETWORKMAPSTORE_H

#include <zelmw/networkmap/NetworkMapObjectDataHandler_p.h>

// The model's factories come with the fresh start.
#include "ModelReset.h"
#include "RawStore.h"

#include <boost/make_shared.hpp>

// The network-map model's rows, for what the entities do not show, and stored devices made
// without a map.
class NetworkMapStore : public zeltest::RawStore
{
public:
    // A stored device of the type TYPENAME (added to the catalogue when new), connected.
    static boost::shared_ptr<zelmw::NetworkMapObject>
    device(const QString &typeName, const QString &mac = QStringLiteral("00:11:22:33:44:55"))
    {
        const int type
            = zelmw::MapObjectFactory::getInstance()->getMapObject(typeName, true)->getId();
        return deviceOfType(type, mac);
    }

    static boost::shared_ptr<zelmw::NetworkMapObject> deviceOfType(int type, const QString &mac)
    {
        const auto record = zelmw::NetworkMapObjectDataHandler().addRecord(
            type, 1, QStringLiteral("device"), mac, QStringLiteral("10.0.0.2"), true);
        return boost::shared_ptr<zelmw::NetworkMapObject>(new zelmw::NetworkMapObject(record));
    }

    // A new object over the stored row.
    static boost::shared_ptr<zelmw::NetworkMapObject> reload(int id)
    {
        return boost::shared_ptr<zelmw::NetworkMapObject>(new zelmw::NetworkMapObject(
            boost::make_shared<zeldb::NetworkMapObjectsRecord>(NetworkMapStore().deviceRow(id))));
    }

    zeldb::NetworkMapObjectsRecord deviceRow(int id)
    {
        zeldb::NetworkMapObjectsRecord row;
        getNetworkMapObjectsTable()->Get(unsigned(id), row);
        return row;
    }

    int deviceRows() { return rowCount(QStringLiteral("NetworkMapObjects")); }
    int detailRows() { return rowCount(QStringLiteral("NetworkMapObjectDetails")); }
};

#endif // ZELTEST_NETWORKMAPSTORE_H
