#include <zelmw/discovery/DefaultNetworkMapBuilder_p.h>

#include <zelmw/networkmap/NetworkMapObjectDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectDetailDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <zellogger/ZelLogger.h>

#include <QHash>

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
    const boost::shared_ptr<NetworkMapObjectFactory> devices = NetworkMapObjectFactory::getInstance();
    const int mapId = m_networkMap->getId();
    // One query for the details of all devices rather than one per device.
    QHash<int, QList<NetworkMapObjectDetailDataHandler::RecordPtr>> details;
    for (const NetworkMapObjectDetailDataHandler::RecordPtr &detail :
         NetworkMapObjectDetailDataHandler().getRecordsByNetworkMapId(mapId))
        details[int(detail->NetworkMapObjectId())].append(detail);
    for (const NetworkMapObjectDataHandler::RecordPtr &record :
         NetworkMapObjectDataHandler().getRecordsByNetworkMapId(mapId))
        m_networkMap->addNwMapObject(devices->adoptRecord(record, details.value(int(record->Id()))));
}

void DefaultNetworkMapBuilder::completeNetworkMap() { }

} // namespace zelmw
