#ifndef ZELSCAN_HOMESCANNER_H
#define ZELSCAN_HOMESCANNER_H

#include <zelscan/Scanner.h>
#include <zelscan/zelscan_export.h>

#include <memory>

namespace zelscan {

/// One discovery of the home network behind this host's default route: the gateway, this PC and
/// every other device, each as one record, the gateway's first (the library drops records that
/// arrive before a gateway's map exists), then this PC's, then the others' by address.
///
/// By default it sends nothing: it reports what the kernel's tables already know, the default
/// route's gateway as a router and every complete neighbour on the same interface. Searching
/// (setSearching()), it first asks the network, on the default route's interface only: a
/// UpnpScanner looks for the UPnP devices during the listen window, then the neighbour table is
/// read again (the devices that answered are in it now) and a NameScanner looks up the host
/// names of every neighbour and responder for 500 ms (or the listen window, when shorter),
/// finding the workstations that answer only multicast DNS on the way; the neighbour table is
/// read once more (those are in it now). The records are then merged by IPv4 address: a
/// neighbour's MAC and address, the UPnP description of its address (the gateway's Internet
/// gateway device makes it the router; the gateway is a router even without one) and, where
/// UPnP gave no friendly name, its host name. A UPnP device whose address has no MAC in the
/// neighbour table cannot be reported, since the library identifies devices by MAC: each is
/// named in one warning on the "ZELSCAN" logging category. A search also reads the kernel's
/// IPv6 neighbour table: a MAC address seen only there is one more device, known by its IPv6
/// address. A search takes the listen window and about half a second more, at most 2.5 s more
/// when a description is slow.
///
/// Lives on the thread that created it and reports from its event loop. Not copyable.
class ZELSCAN_EXPORT HomeScanner : public Scanner
{
    Q_OBJECT

public:
    /// A scanner of /proc/net's tables and the default route's interface, that sends nothing.
    explicit HomeScanner(QObject *parent = nullptr);
    /// Stops a running discovery at once, without finished().
    ~HomeScanner() override;

    /// Where the kernel's "route" and "arp" tables are read; /proc/net unless set.
    void setProcNetDirectory(const QString &directory);
    /// The interface to scan; it must carry the default route. Empty (the default): the
    /// default route's interface.
    void setInterfaceName(const QString &name);
    /// Whether a discovery also asks the network (UPnP search, host names) rather than only
    /// reading the kernel's tables; false by default. Applies from the next start().
    void setSearching(bool searching);
    /// How long a search listens for UPnP answers, 2,000 ms by default; a negative value
    /// counts as 0. Only a searching discovery uses it. Applies from the next start().
    void setListenWindow(int milliseconds);

    /// Starts a discovery; its records and finished() follow from the event loop. One that
    /// cannot run (no default route, a table that cannot be read, the gateway not in the
    /// neighbour table, the interface gone) reports nothing and sets error(). A search whose
    /// UPnP or name look cannot run still reports the neighbours, after one warning. Calling
    /// it while a discovery runs does nothing.
    void start() override;

    /// The interface the last discovery looked at (the default route's); empty before one.
    QString searchedInterfaceName() const;

    /// Why the last discovery reported nothing; empty when it reported the home.
    QString error() const;

private:
    void searchNames();
    void complete();
    void fail(const QString &reason);

    class Private;
    const std::unique_ptr<Private> d;
};

} // namespace zelscan

#endif // ZELSCAN_HOMESCANNER_H
