#include <zelmw/discovery/DiscoveryQueueListener_p.h>
#include <zelmw/discovery/DiscoveryQueue_p.h>
#include <zelmw/discovery/DiscoveryRoutes_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <zeldb/ZelDbDatabase.h>
#include <zellogger/ZelLogger.h>

#include <QTimer>

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
    const DiscoveryRoutes routes;
    connect(
        &timer, &QTimer::timeout, &timer, [&] { onTimeOut(timer, routes); }, Qt::DirectConnection);
    timer.start(FIRST_TICK_MS);
    exec();
    // Now, not in the thread's own destructors: those may run after a waiter at process exit
    // has gone on to tear Qt's SQL module down.
    zeldb::ZelDbDatabase::CloseThreadConnections();
}

void DiscoveryQueueListener::onTimeOut(QTimer &timer, const DiscoveryRoutes &routes)
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
                                           const DiscoveryRoutes &routes)
{
    const ModelLock lock;
    routes.apply(record, recordObserver());
    ++m_processed;
}

} // namespace zelmw
