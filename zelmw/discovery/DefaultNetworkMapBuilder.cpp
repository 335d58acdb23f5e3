#include <zelmw/discovery/DefaultNetworkMapBuilder_p.h>

#include <zelmw/networkmap/NetworkMapObjectDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectDetailDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectFactory_p.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <zellogger/ZelLogger.h>

namespace zelmw {

void DefaultNetworkMapBuilder::constructNetworkMap(
    const boost::shared_ptr<zeldb::NetworkMapsRecord> &record, QObject *parent)
{
    if (!record) {
        ZelLogger::getInstance()->log(
            QStringLiteral("DefaultNetworkMapBuilder >> constructNetworkMap has null record"),
            ZelLogger::WARNING_LEVEL, LOGGER_NAME);
        return;
    }
    m_networkMap.reset(new NetworkMap(record, parent));
}

void DefaultNetworkMapBuilder::constructNetworkMapObjects()
{
    if (!m_networkMap)
        return;
    // A device already handed out by id stays the one object over its row.
    NetworkMapObjectFactory::Implementation &devices
        = NetworkMapObjectFactory::Implementation::instance();
    const int mapId = m_networkMap->getId();
    // One query for the details of all devices rather than one per device.
    for (const NetworkMapObjectFactory::NetworkMapObjectPtr &device :
         devices.adoptRecords(NetworkMapObjectDataHandler().getRecordsByNetworkMapId(mapId),
                              NetworkMapObjectDetailDataHandler().getRecordsByNetworkMapId(mapId)))
        m_networkMap->addNwMapObject(device);
}

void DefaultNetworkMapBuilder::completeNetworkMap()
{ }

} // namespace zelmw
