#include <zelmw/discovery/DefaultNetworkMapBuilder_p.h>

#include <zelmw/networkmap/NetworkMapObjectDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
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
    const boost::shared_ptr<NetworkMapObjectFactory> devices = NetworkMapObjectFactory::getInstance();
    for (const NetworkMapObjectDataHandler::RecordPtr &record :
         NetworkMapObjectDataHandler().getRecordsByNetworkMapId(m_networkMap->getId()))
        m_networkMap->addNwMapObject(devices->adoptRecord(record));
}

void DefaultNetworkMapBuilder::completeNetworkMap() { }

} // namespace zelmw
