#ifndef ZELMW_DISCOVERY_DISCOVERYQUEUELISTENER_P_H
#define ZELMW_DISCOVERY_DISCOVERYQUEUELISTENER_P_H

#include <zelmw/discovery/DiscoveryRoutes_p.h>

#include <QThread>
#include <boost/shared_ptr.hpp>

#include <atomic>

class QTimer;

namespace zelmw {

class DiscoveryQueue;

// The one thread that applies discovery records: a single-shot timer fires 10 ms after the
// thread starts and then one interval after each tick; each tick takes at most one record
// and applies it through the routes (DiscoveryRoutes), as one unit of work, so other
// threads see it whole and a crash leaves the store as it was after some prefix of the
// records.
class DiscoveryQueueListener : public QThread
{
    Q_OBJECT

public:
    static const int DEFAULT_INTERVAL_MS = 500;

    explicit DiscoveryQueueListener(const boost::shared_ptr<DiscoveryQueue> &queue,
                                    QObject *parent = nullptr);
    // Stops and waits: a running thread is never destroyed.
    ~DiscoveryQueueListener() override;

    // Starts the thread unless it runs; a stop requested before counts for this run no more.
    void startListening();
    // Requests the stop and waits until the thread has finished, except on the listener
    // thread itself and under the model lock, where waiting would deadlock (logged there).
    void stopListening();
    void setInterval(int milliseconds);
    qint64 processedCount() const;

    // OBSERVER sees every record of every listener just before it is applied, on the
    // listener's thread, under the model lock and inside the record's unit of work: the order
    // in which records change the model. An exception it throws abandons the record as one
    // thrown while applying it would. An empty function stops the observing. For diagnostics
    // and tests.
    using RecordObserver = DiscoveryRoutes::Observer;
    static void setRecordObserver(const RecordObserver &observer);

protected:
    void run() override;

private:
    void onTimeOut(QTimer &timer, const DiscoveryRoutes &routes);
    void processRecord(const DiscoveryType &record, const DiscoveryRoutes &routes);

    const boost::shared_ptr<DiscoveryQueue> m_queue;
    std::atomic_bool m_stopRequested { false };
    std::atomic_int m_interval { DEFAULT_INTERVAL_MS };
    std::atomic<qint64> m_processed { 0 };
};

} // namespace zelmw

#endif // ZELMW_DISCOVERY_DISCOVERYQUEUELISTENER_P_H
