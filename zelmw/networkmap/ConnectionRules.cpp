#include <zelmw/networkmap/ConnectionRules_p.h>

namespace zelmw {

namespace {

// Not-connected reports in a row that turn a connected device disconnected.
const int FAILURES_TO_DISCONNECT = 5;

} // namespace

ConnectionRules::ConnectionRules(bool connected, int leaseSeconds)
    : m_connected(connected)
    , m_leaseSeconds(leaseSeconds)
{ }

ConnectionRules::Change ConnectionRules::report(bool connected, bool force,
                                                const QDateTime &disconnectedAt,
                                                const QDateTime &now)
{
    // Failures count only in a row of unforced reports on a connected device.
    if (!force && m_connected) {
        if (connected) {
            m_failures = 0;
            return Change::None;
        }
        if (++m_failures < FAILURES_TO_DISCONNECT)
            return Change::None;
    }
    m_failures = 0;
    if (m_connected != connected) {
        m_connected = connected;
        return connected ? Change::Connected : Change::Disconnected;
    }
    return !connected && isLeaseExpired(disconnectedAt, now) ? Change::LeaseExpired : Change::None;
}

bool ConnectionRules::isLeaseExpired(const QDateTime &disconnectedAt, const QDateTime &now) const
{
    return disconnectedAt.isValid()
        && now.toSecsSinceEpoch() - disconnectedAt.toSecsSinceEpoch() >= m_leaseSeconds;
}

QString ConnectionRules::formatTime(const QDateTime &time)
{
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

QDateTime ConnectionRules::parseTime(const QString &value)
{
    return QDateTime::fromString(value, Qt::ISODate);
}

} // namespace zelmw
