#ifndef ZELMW_DISCOVERY_DISCOVERYQUEUE_P_H
#define ZELMW_DISCOVERY_DISCOVERYQUEUE_P_H

#include <zelmw/discovery/DiscoveryHandler.h>

#include <condition_variable>
#include <deque>
#include <mutex>

namespace zelmw {

// The FIFO of discovery records between the scanners and the listener. The list under the
// mutex is the count of available records (the semaphore's permits), and the condition
// variable lets a consumer wait for one, so clearing and taking can never disagree about
// what is queued. Bounded by count and by size: a scanner that outruns the listener must
// not exhaust memory, and refusing a new record is better than dropping an accepted one.
class DiscoveryQueue
{
public:
    static const int MAX_RECORDS = 20000;
    static const qint64 MAX_BYTES = qint64(64) * 1024 * 1024;

    DiscoveryQueue();
    DiscoveryQueue(const DiscoveryQueue &) = delete;
    DiscoveryQueue &operator=(const DiscoveryQueue &) = delete;

    // Appends a copy; false when RECORD is empty or the queue is full.
    bool enqueue(const DiscoveryType &record);
    // Moves the oldest record into RECORD, waiting up to TIMEOUTMS for one to arrive.
    bool tryDequeue(DiscoveryType &record, int timeoutMs);
    void clear();
    int count() const;

private:
    struct Entry
    {
        DiscoveryType record;
        qint64 bytes;
    };

    mutable std::mutex m_mutex;
    std::condition_variable m_available;
    std::deque<Entry> m_entries;
    qint64 m_bytes = 0;
    // Records refused since the queue last accepted one.
    qint64 m_refused = 0;
};

} // namespace zelmw

#endif // ZELMW_DISCOVERY_DISCOVERYQUEUE_P_H
