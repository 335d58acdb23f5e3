#ifndef ZELSCAN_PROBE_CONNECTIONPROBE_H
#define ZELSCAN_PROBE_CONNECTIONPROBE_H

#include <zelscan/zelscan_export.h>

#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

#include <memory>

namespace zelscan {

/// Finds which known devices answer right now: the ping results that
/// zelmw::NetworkMap::saveConnectionStatus takes, by IP address.
///
/// The kernel's neighbour table cannot tell: it keeps an entry of a device that has left until
/// something is sent to it. So the probe asks each address itself, without privileges: it
/// opens a TCP connection to the discard port (9), all addresses in parallel. An address
/// answers when its connection is accepted or refused, both of which only a host that is there
/// can say; one that stays silent until the timeout, or that the kernel finds unreachable, does
/// not. A device whose firewall drops every connection silently therefore counts as absent.
/// A connection that is accepted is closed at once; nothing is written on it.
///
/// Lives on one thread: construct it, call its functions and delete it there. Not copyable.
class ZELSCAN_EXPORT ConnectionProbe : public QObject
{
    Q_OBJECT

public:
    /// A probe of @p addresses: IPv4 and IPv6, duplicates and null addresses ignored, at most
    /// 1,024 (the rest are not asked and count as not answering). Nothing is sent before
    /// start().
    explicit ConnectionProbe(const QList<QHostAddress> &addresses, QObject *parent = nullptr);
    /// Stops a running probe at once, without finished().
    ~ConnectionProbe() override;

    /// How long an address has to answer, from the next start() on: 1,000 ms by default; a
    /// negative value counts as 0.
    void setTimeout(int milliseconds);
    /// The interface that link-local IPv6 addresses are reached on, from the next start() on;
    /// without one (the default) the kernel cannot route them and they count as not answering.
    void setLinkInterface(const QString &interfaceName);

    /// Starts the probe; returns at once. finished() follows from the event loop, at the
    /// latest when the timeout is over. Calling start() while a probe runs does nothing.
    void start();

signals:
    /// Every address given, as QHostAddress::toString() writes it without a scope, to whether
    /// it answered.
    void finished(const QMap<QString, bool> &answered);

private:
    class Private;
    const std::unique_ptr<Private> d;
};

} // namespace zelscan

#endif // ZELSCAN_PROBE_CONNECTIONPROBE_H
