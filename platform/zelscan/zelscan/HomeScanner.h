#ifndef ZELSCAN_HOMESCANNER_H
#define ZELSCAN_HOMESCANNER_H

#include <zelscan/Scanner.h>
#include <zelscan/zelscan_export.h>

#include <memory>

namespace zelscan {

/// One discovery of the home network behind this host's default route: the gateway, this PC
/// and every other device, each as one record, the gateway's first (the library drops records
/// that arrive before a gateway's map exists), then this PC's, then the others' by address.
///
/// Active (the default), it sends on the default route's interface: an SSDP search with its
/// description fetches, and mDNS name queries, both for the listening window; then it reads the
/// kernel's neighbour table, which those answers filled, for every device's MAC. A device with
/// no MAC there is left out. A device's name is its mDNS or resolver name where it gives no
/// UPnP friendly name. Passive, it sends nothing and reports what the kernel's tables already
/// know. Lives on the thread that created it and runs on its event loop. Not copyable.
class ZELSCAN_EXPORT HomeScanner : public Scanner
{
    Q_OBJECT

public:
    /// A scanner with the defaults: active, a 2 s window, /proc/net, the default route's
    /// interface.
    explicit HomeScanner(QObject *parent = nullptr);
    ~HomeScanner() override;

    /// Where the kernel's "route" and "arp" tables are read; /proc/net unless set.
    void setProcNetDirectory(const QString &directory);
    /// The interface to scan; it must carry the default route. Empty (the default): the
    /// default route's interface.
    void setInterfaceName(const QString &name);
    /// How long the active scanners listen for answers, in milliseconds (default 2000).
    void setListenWindow(int milliseconds);
    /// Whether to send anything (default true); false reports only the kernel's tables.
    void setActive(bool active);

    /// Starts a discovery; finished() follows once the window is over and every record has
    /// been reported. One that cannot run (no default route, a table that cannot be read, the
    /// gateway not in the neighbour table) reports nothing and sets error().
    void start() override;

    /// Why the last discovery reported nothing; empty when it reported the home.
    QString error() const;

private:
    void scanPartFinished();
    void complete();
    void fail(const QString &reason);

    class Private;
    const std::unique_ptr<Private> d;
};

} // namespace zelscan

#endif // ZELSCAN_HOMESCANNER_H
