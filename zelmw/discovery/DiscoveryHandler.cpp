#include <zelmw/discovery/DiscoveryHandler.h>
#include <zelmw/discovery/DiscoveryQueueListener_p.h>
#include <zelmw/discovery/DiscoveryQueue_p.h>

#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/DiscoveryRecordLimits_p.h>
#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/persistence/ModelLock_p.h>

#include <zellogger/ZelLogger.h>

#include <QCoreApplication>
#include <QSqlDatabase>

#include <atomic>
#include <cstdlib>

namespace zelmw {

// The process-wide queue and listener. Never destroyed: the listener is stopped by the exit
// hooks instead, and a running thread must not be destroyed.
class DiscoveryHandler::Implementation
{
public:
    static Implementation *create();
    static Implementation *instance() { return s_instance.load(std::memory_order_acquire); }

    const boost::shared_ptr<DiscoveryQueue> queue { new DiscoveryQueue };
    const boost::shared_ptr<DiscoveryQueueListener> listener { new DiscoveryQueueListener(queue) };

private:
    static void stopAtExit();

    static std::atomic<Implementation *> s_instance;
};

std::atomic<DiscoveryHandler::Implementation *> DiscoveryHandler::Implementation::s_instance {
    nullptr
};

DiscoveryHandler::Implementation *DiscoveryHandler::Implementation::create()
{
    // The listener reaches these singletons. Created before the exit hook is registered, they
    // are destroyed after it has stopped the listener.
    ZelLogger::getInstance();
    ModelLock::mutex();
    ConfigDataFactory::getInstance();
    MapObjectFactory::getInstance();
    NetworkMapObjectFactory::getInstance();
    NetworkMapFactory::getInstance();
    InUseMapController::getInstance();
    // Qt's SQL module closes every connection from a post-routine of its own, registered on
    // first use. Post-routines run last registered first, so it must be registered before ours.
    QSqlDatabase::drivers();

    Implementation *const implementation = new Implementation;
    // A Qt program usually returns from main without stopping the listener: stop it when the
    // application object goes, or at the latest when the process exits.
    qAddPostRoutine(stopAtExit);
    std::atexit(stopAtExit);
    implementation->listener->startListening();
    s_instance.store(implementation, std::memory_order_release);
    return implementation;
}

void DiscoveryHandler::Implementation::stopAtExit()
{
    instance()->listener->stopListening();
}

DiscoveryHandler::DiscoveryHandler()
{
    // Thread-safe and once per process; a construction that failed is tried again by the next.
    static Implementation *const implementation = Implementation::create();
    Q_UNUSED(implementation)
}

bool DiscoveryHandler::addDiscovery(const QMap<QString, QString> &record)
{
    // Checked before the copy is queued: an absurd record must not take the queue's memory.
    Implementation *const implementation = Implementation::instance();
    return implementation
        && DiscoveryRecordLimits::admit(record, QStringLiteral("DiscoveryHandler::addDiscovery"))
        && implementation->queue->enqueue(record);
}

QString DiscoveryHandler::refusalReason(const DiscoveryType &record)
{
    return DiscoveryRecordLimits::excess(record);
}

void DiscoveryHandler::clearDiscoveryQueue()
{
    if (Implementation *const implementation = Implementation::instance())
        implementation->queue->clear();
}

void DiscoveryHandler::stopQueueListener()
{
    if (Implementation *const implementation = Implementation::instance())
        implementation->listener->stopListening();
}

void DiscoveryHandler::setListenerInterval(int milliseconds)
{
    if (Implementation *const implementation = Implementation::instance())
        implementation->listener->setInterval(milliseconds);
}

int DiscoveryHandler::pendingDiscoveryCount() const
{
    const Implementation *const implementation = Implementation::instance();
    return implementation ? implementation->queue->count() : 0;
}

qint64 DiscoveryHandler::processedDiscoveryCount() const
{
    const Implementation *const implementation = Implementation::instance();
    return implementation ? implementation->listener->processedCount() : 0;
}

} // namespace zelmw
