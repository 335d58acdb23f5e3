#include <zelmw/discovery/DefaultDiscoveryHandler_p.h>
#include <zelmw/discovery/DiscoveryRoutes_p.h>
#include <zelmw/discovery/GatewayDiscoverStrategy_p.h>
#include <zelmw/discovery/MeshClientsStrategy_p.h>
#include <zelmw/discovery/WirelessClientsStrategy_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <zellogger/ZelLogger.h>

#include <exception>

namespace zelmw {

namespace {

void log(const QString &message, int level)
{
    ZelLogger::getInstance()->log(message, level, LOGGER_NAME);
}

} // namespace

DiscoveryRoutes::DiscoveryRoutes()
    : m_meshClients(new MeshClientsStrategy)
    , m_wirelessClients(new WirelessClientsStrategy)
{
    m_handlers.insert(DEVICE_TYPE_GATEWAY, StrategyPtr(new GatewayDiscoverStrategy));
    m_handlers.insert(DEVICE_TYPE_PC, StrategyPtr(new DefaultDiscoveryHandler));
    m_handlers.insert(DEVICE_TYPE_UNKNOWN_DEVICE, StrategyPtr(new DefaultDiscoveryHandler));
}

DiscoveryRoutes::~DiscoveryRoutes() = default;

bool DiscoveryRoutes::apply(const DiscoveryType &record, const Observer &observer) const
{
    try {
        UnitOfWork unit;
        if (observer)
            observer(record);
        dispatch(record);
        // Here rather than at the end of the scope: a receiver of the signals that throws
        // leaves the committed record as it is, and reaches the handler below.
        return unit.commit();
    } catch (const std::exception &error) {
        log(QStringLiteral("DiscoveryQueueListener::onTimeOut - record abandoned: ")
                + QString::fromLocal8Bit(error.what()),
            ZelLogger::ERROR_LEVEL);
    } catch (...) {
        log(QStringLiteral("DiscoveryQueueListener::onTimeOut - record abandoned: "
                           "unknown exception"),
            ZelLogger::ERROR_LEVEL);
    }
    return false;
}

void DiscoveryRoutes::dispatch(const DiscoveryType &record) const
{
    if (record.contains(NS_DEVICE_TYPE))
        dispatchNetworkScan(record);
    else if (record.contains(MESH_CLIENT_LIST))
        m_meshClients->handleDiscovery(record);
    else if (record.contains(WIRELESS_CLIENT_LIST))
        m_wirelessClients->handleDiscovery(record);
}

void DiscoveryRoutes::dispatchNetworkScan(const DiscoveryType &record) const
{
    const QString deviceType = record.value(NS_DEVICE_TYPE);
    if (deviceType.isEmpty()) {
        log(QStringLiteral("DiscoveryQueueListener::Implementation - "
                           "handleNetworkScanDiscovery: deviceType is empty"),
            ZelLogger::WARNING_LEVEL);
        return;
    }
    const StrategyPtr handler = m_handlers.value(deviceType);
    if (!handler) {
        log(QStringLiteral("DiscoveryQueueListener::Implementation - "
                           "handleNetworkScanDiscovery: handler not found for ")
                + deviceType,
            ZelLogger::WARNING_LEVEL);
        return;
    }
    handler->handleDiscovery(record);
}

} // namespace zelmw
