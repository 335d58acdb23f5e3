#ifndef ZELMW_NETWORKMAP_CONNECTIONRULES_P_H
#define ZELMW_NETWORKMAP_CONNECTIONRULES_P_H

#include <QDateTime>
#include <QString>

namespace zelmw {

// When a device counts as connected, and when it has been away long enough to be deleted: the
// rules alone, with the current time passed in, so that they hold without a clock to wait for.
// A value: the device keeps one and replaces it as reports come in.
class ConnectionRules
{
public:
    // What a report made of the device.
    enum class Change { None, Connected, Disconnected, LeaseExpired };

    explicit ConnectionRules(bool connected = false, int leaseSeconds = 0);

    bool isConnected() const { return m_connected; }
    // Connected with no failure counted, so that a "connected" report changes nothing.
    bool isSteady() const { return m_connected && m_failures == 0; }
    int failures() const { return m_failures; }
    int leaseSeconds() const { return m_leaseSeconds; }
    void setLeaseSeconds(int seconds) { m_leaseSeconds = seconds; }

    int countFailure() { return ++m_failures; }
    void resetFailures() { m_failures = 0; }

    // A connection report at NOW. A connected device turns disconnected when FORCE is set or
    // on the fifth not-connected report in a row; a disconnected one follows every report. A
    // disconnected device that stays disconnected has its lease expired once DISCONNECTEDAT
    // lies at least the lease time before NOW.
    Change report(bool connected, bool force, const QDateTime &disconnectedAt,
                  const QDateTime &now);
    // False for an invalid DISCONNECTEDAT: a device without a known disconnect time stays.
    bool isLeaseExpired(const QDateTime &disconnectedAt, const QDateTime &now) const;

    // The stored form of a disconnect time: ISO 8601 with its offset from UTC, so that the
    // instant survives a change of time zone or of daylight saving time.
    static QString formatTime(const QDateTime &time);
    // Reads what formatTime() wrote; a value stored without an offset, by earlier releases, is
    // local time. Invalid when it is not a time.
    static QDateTime parseTime(const QString &value);

    bool operator==(const ConnectionRules &other) const
    {
        return m_connected == other.m_connected && m_failures == other.m_failures
            && m_leaseSeconds == other.m_leaseSeconds;
    }
    bool operator!=(const ConnectionRules &other) const { return !(*this == other); }

private:
    bool m_connected;
    int m_failures = 0;
    int m_leaseSeconds;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_CONNECTIONRULES_P_H
