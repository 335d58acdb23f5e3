#include <zelmw/discovery/DefaultDiscoveryHandler_p.h>
#include <zelmw/discovery/DiscoveryQueueListener_p.h>
#include <zelmw/discovery/DiscoveryQueue_p.h>
#include <zelmw/discovery/GatewayDiscoverStrategy_p.h>
#include <zelmw/discovery/MeshClientsStrategy_p.h>
#include <zelmw/discovery/WirelessClientsStrategy_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <zeldb/ZelDbDatabase.h>
#include <zellogger/ZelLogger.h>

#include <QTimer>

#include <exception>

namespace zelmw {

namespace {

const int FIRST_TICK_MS = 10;
// With no interval, an empty queue is waited on this long per tick instead of spinning.
const int IDLE_WAIT_MS = 20;

void logError(const QString &message)
{
    ZelLogger::getInstance()->log(message, ZelLogger::ERROR_LEVEL, LOGGER_NAME);
}

} // namespace

// The routing table: one strategy per device kind, and one per client list.
class DiscoveryQueueListener::Implementation
{
public:
    using StrategyPtr = boost::shared_ptr<IDeviceDiscoverStrategy>;

    Implementation()
        : m_meshClients(new MeshClientsStrategy)
        , m_wirelessClients(new WirelessClientsStrategy)
    {
        m_handlers.insert(DEVICE_TYPE_GATEWAY, StrategyPtr(new GatewayDiscoverStrategy));
        m_handlers.insert(DEVICE_TYPE_PC, StrategyPtr(new DefaultDiscoveryHandler));
        m_handlers.insert(DEVICE_TYPE_UNKNOWN_DEVICE, StrategyPtr(new DefaultDiscoveryHandler));
    }

    void dispatchDiscovery(const DiscoveryType &record) const
    {
        if (record.contains(NS_DEVICE_TYPE))
            handleNetworkScanDiscovery(record);
        else if (record.contains(MESH_CLIENT_LIST))
            m_meshClients->handleDiscovery(record);
        else if (record.contains(WIRELESS_CLIENT_LIST))
            m_wirelessClients->handleDiscovery(record);
    }

private:
    void handleNetworkScanDiscovery(const DiscoveryType &record) const
    {
        const QString deviceType = record.value(NS_DEVICE_TYPE);
        if (deviceType.isEmpty()) {
            warn(QStringLiteral("DiscoveryQueueListener::Implementation - "
                                "handleNetworkScanDiscovery: deviceType is empty"));
            return;
        }
        const StrategyPtr handler = m_handlers.value(deviceType);
        if (!handler) {
            warn(QStringLiteral("DiscoveryQueueListener::Implementation - "
                                "handleNetworkScanDiscovery: handler not found for ")
                 + deviceType);
            return;
        }
        handler->handleDiscovery(record);
    }

    static void warn(const QString &message)
    {
        ZelLogger::getInstance()->log(message, ZelLogger::WARNING_LEVEL, LOGGER_NAME);
    }

    QMap<QString, StrategyPtr> m_handlers;
    const StrategyPtr m_meshClients;
    const StrategyPtr m_wirelessClients;
};

const int DiscoveryQueueListener::DEFAULT_INTERVAL_MS;

DiscoveryQueueListener::DiscoveryQueueListener(const boost::shared_ptr<DiscoveryQueue> &queue,
                                               QObject *parent)
    : QThread(parent)
    , m_queue(queue)
{
    qRegisterMetaType<DiscoveryType>("DiscoveryType");
}

DiscoveryQueueListener::~DiscoveryQueueListener()
{
    m_stopRequested = true;
    wait();
}

void DiscoveryQueueListener::startListening()
{
    if (isRunning())
        return;
    // Reset here, not in run(): a stop requested right after start() must not be lost.
    m_stopRequested = false;
    start();
}

void DiscoveryQueueListener::stopListening()
{
    m_stopRequested = true;
    if (QThread::currentThread() == this)
        return;
    if (ModelLock::isHeldByCurrentThread()) {
        logError(QStringLiteral("DiscoveryQueueListener::stopListening - called under the model "
                                "lock; the listener stops after its current record, unwaited"));
        return;
    }
    wait();
}

void DiscoveryQueueListener::setInterval(int milliseconds)
{
    m_interval = qMax(0, milliseconds);
}

qint64 DiscoveryQueueListener::processedCount() const
{
    return m_processed;
}

void DiscoveryQueueListener::run()
{
    // Timer and routing table belong to this thread and end with it.
    QTimer timer;
    timer.setSingleShot(true);
    const Implementation routes;
    connect(
        &timer, &QTimer::timeout, &timer, [&] { onTimeOut(timer, routes); }, Qt::DirectConnection);
    timer.start(FIRST_TICK_MS);
    exec();
    // Now, not in the thread's own destructors: those may run after a waiter at process exit
    // has gone on to tear Qt's SQL module down.
    zeldb::ZelDbDatabase::CloseThreadConnections();
}

void DiscoveryQueueListener::onTimeOut(QTimer &timer, const Implementation &routes)
{
    if (m_stopRequested) {
        quit();
        return;
    }
    const int interval = m_interval;
    DiscoveryType record;
    if (m_queue->tryDequeue(record, interval == 0 ? IDLE_WAIT_MS : 0))
        processRecord(record, routes);
    timer.start(m_interval);
}

namespace {

// Guarded by the model lock.
DiscoveryQueueListener::RecordObserver &recordObserver()
{
    static DiscoveryQueueListener::RecordObserver observer;
    return observer;
}

} // namespace

void DiscoveryQueueListener::setRecordObserver(const RecordObserver &observer)
{
    const ModelLock lock;
    recordObserver() = observer;
}

void DiscoveryQueueListener::processRecord(const DiscoveryType &record,
                                           const Implementation &routes)
{
    const ModelLock lock;
    if (recordObserver())
        recordObserver()(record);
    try {
        // The record is one unit: if any of it fails, store and memory stay as after the
        // previous record, and nobody hears of it.
        UnitOfWork unit;
        routes.dispatchDiscovery(record);
        // Here rather than at the end of the scope: a receiver of the signals that throws
        // leaves the committed record as it is, and reaches the handler below.
        unit.commit();
    } catch (const std::exception &error) {
        logError(QStringLiteral("DiscoveryQueueListener::onTimeOut - record abandoned: ")
                 + QString::fromLocal8Bit(error.what()));
    } catch (...) {
        logError(QStringLiteral("DiscoveryQueueListener::onTimeOut - record abandoned: "
                                "unknown exception"));
    }
    ++m_processed;
}

} // namespace zelmw
