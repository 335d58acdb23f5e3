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
/// It sends nothing: it reports what the kernel's tables already know, the default route's
/// gateway as a router and every complete neighbour on the same interface. Lives on the thread
/// that created it and reports from its event loop. Not copyable.
class ZELSCAN_EXPORT HomeScanner : public Scanner
{
    Q_OBJECT

public:
    /// A scanner of /proc/net's tables and the default route's interface.
    explicit HomeScanner(QObject *parent = nullptr);
    ~HomeScanner() override;

    /// Where the kernel's "route" and "arp" tables are read; /proc/net unless set.
    void setProcNetDirectory(const QString &directory);
    /// The interface to scan; it must carry the default route. Empty (the default): the
    /// default route's interface.
    void setInterfaceName(const QString &name);

    /// Starts a discovery; its records and finished() follow from the event loop. One that
    /// cannot run (no default route, a table that cannot be read, the gateway not in the
    /// neighbour table) reports nothing and sets error().
    void start() override;

    /// Why the last discovery reported nothing; empty when it reported the home.
    QString error() const;

private:
    void complete();
    void fail(const QString &reason);

    class Private;
    const std::unique_ptr<Private> d;
};

} // namespace zelscan

#endif // ZELSCAN_HOMESCANNER_H
