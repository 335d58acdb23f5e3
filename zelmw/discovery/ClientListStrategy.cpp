#include <zelmw/discovery/ClientListStrategy_p.h>
#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <zellogger/ZelLogger.h>

namespace zelmw {

ClientListStrategy::ClientListStrategy(const QString &key, const QString &emptyListWarning,
                                       MapUpdate update)
    : m_key(key)
    , m_emptyListWarning(emptyListWarning)
    , m_update(update)
{ }

void ClientListStrategy::handleDiscovery(const QMap<QString, QString> &record)
{
    const NetworkMapSharedPtr map = InUseMapController::getInstance()->getInUseNetworkMap();
    if (!map)
        return;
    const QString list = record.value(m_key);
    if (list.isEmpty()) {
        ZelLogger::getInstance()->log(m_emptyListWarning, ZelLogger::WARNING_LEVEL, LOGGER_NAME);
        return;
    }
    // Empty parts are kept: the map decides what an empty MAC address matches.
    ((*map).*m_update)(list.split(QLatin1Char('#'), Qt::KeepEmptyParts, Qt::CaseSensitive));
}

} // namespace zelmw
