#include <zelmw/discovery/DiscoveryQueue_p.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <zellogger/ZelLogger.h>

#include <chrono>

namespace zelmw {

namespace {

// Memory a queued record takes, roughly: its texts and the map's nodes.
qint64 sizeOf(const DiscoveryType &record)
{
    const qint64 nodeBytes = 64;
    qint64 bytes = 0;
    for (auto it = record.cbegin(); it != record.cend(); ++it)
        bytes += nodeBytes + qint64(it.key().size() + it.value().size()) * qint64(sizeof(QChar));
    return bytes;
}

void warn(const QString &message)
{
    ZelLogger::getInstance()->log(message, ZelLogger::WARNING_LEVEL, LOGGER_NAME);
}

} // namespace

const int DiscoveryQueue::MAX_RECORDS;
const qint64 DiscoveryQueue::MAX_BYTES;

DiscoveryQueue::DiscoveryQueue() = default;

bool DiscoveryQueue::enqueue(const DiscoveryType &record)
{
    if (record.isEmpty())
        return false;
    const qint64 bytes = sizeOf(record);
    bool accepted = false;
    qint64 refused = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        accepted = m_entries.size() < size_t(MAX_RECORDS) && m_bytes + bytes <= MAX_BYTES;
        if (accepted) {
            m_entries.push_back(Entry { record, bytes });
            m_bytes += bytes;
            refused = m_refused;
            m_refused = 0;
        } else {
            refused = ++m_refused;
        }
    }
    // Logged outside the lock: a message handler must not stall the other scanners.
    if (!accepted && refused == 1) {
        warn(QStringLiteral("DiscoveryQueue::enqueue - queue full (%1 records or %2 MiB), "
                            "refusing new records")
                 .arg(MAX_RECORDS)
                 .arg(MAX_BYTES / (1024 * 1024)));
    } else if (accepted && refused > 0) {
        warn(QStringLiteral("DiscoveryQueue::enqueue - queue accepts records again, refused: %1")
                 .arg(refused));
    }
    if (accepted)
        m_available.notify_one();
    return accepted;
}

bool DiscoveryQueue::tryDequeue(DiscoveryType &record, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (timeoutMs > 0) {
        m_available.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return !m_entries.empty(); });
    }
    if (m_entries.empty())
        return false;
    record = std::move(m_entries.front().record);
    m_bytes -= m_entries.front().bytes;
    m_entries.pop_front();
    return true;
}

void DiscoveryQueue::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.clear();
    m_bytes = 0;
}

int DiscoveryQueue::count() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_entries.size());
}

} // namespace zelmw
