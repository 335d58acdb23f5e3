#ifndef ZELSCAN_NAMES_NAMESCANNER_H
#define ZELSCAN_NAMES_NAMESCANNER_H

#include <zelscan/Scanner.h>
#include <zelscan/zelscan_export.h>

#include <QHostAddress>
#include <QList>
#include <QNetworkInterface>

#include <memory>

namespace zelscan {

/// Finds the host names of addresses already known on one link, for devices that announce no
/// friendly name of their own. It asks with multicast DNS on the given interface: a reverse
/// lookup of each IPv4 address and one browse for workstations, followed to their addresses
/// through the service and address records of the answers. For the addresses this leaves
/// without a name it asks this host's resolver, in parallel. Everything is bounded by the
/// listen window: at its end the scanner emits one record per address it found a name for,
/// { DEVICE_PARAM_LAN_IPADDRESS: the address, DEVICE_PARAM_NAME: the name, without a trailing
/// ".local" }, in the order the addresses were given; then one for each other workstation the
/// browse found on the interface's own network (at most 256, by address), since a device that
/// speaks only multicast DNS is known nowhere else; then finished(). The resolver's lookups
/// still running are aborted (those not started yet are never sent; one the resolver is
/// already working on cannot be interrupted, and Qt waits for it when the application object
/// is destroyed). A record carries no device type or MAC address: the application merges it
/// with the other scanners' records of the same IP address, and the name is used only where
/// no UPnP friendly name exists.
///
/// Answers are hostile data. A message that breaks a bound (over 9,000 bytes, a compression
/// pointer that does not lead backwards or more than 20 of them in a name, a label over 63 or
/// a name over 255 bytes, record counts larger than the message) is refused whole; a record
/// whose name is not UTF-8, has control characters or is over 253 characters is dropped. Each
/// refusal logs one warning naming the sender, at most 50 per look. At most 10,000 records are
/// read per look (a message without any counts as one); the rest of the window is not read.
///
/// Lives on one thread: construct it, call its functions and delete it there. Not copyable.
class ZELSCAN_EXPORT NameScanner : public Scanner
{
    Q_OBJECT

public:
    /// A scanner for @p addresses (duplicates and null addresses are ignored) on
    /// @p interface, which must have an IPv4 address. IPv6 addresses are only asked of the
    /// resolver. Nothing is sent before start().
    NameScanner(const QNetworkInterface &interface, const QList<QHostAddress> &addresses,
                QObject *parent = nullptr);
    /// Stops a running look at once, without emitting anything.
    ~NameScanner() override;

    /// How long a look listens for answers, from the next start() on: 2,000 ms by default; a
    /// negative value counts as 0. The resolver is asked at half the window, and finished()
    /// comes at its end.
    void setListenWindow(int milliseconds);

    /// Starts the look; returns at once. An interface without an IPv4 address or a socket that
    /// cannot be opened gives one warning and finished() from the event loop, with no record.
    /// When the multicast DNS port cannot be shared, only answers sent straight to the
    /// scanner are read (one warning). Calling start() while a look runs does nothing.
    void start() override;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace zelscan

#endif // ZELSCAN_NAMES_NAMESCANNER_H
