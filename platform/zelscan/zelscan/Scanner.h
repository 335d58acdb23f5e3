#ifndef ZELSCAN_SCANNER_H
#define ZELSCAN_SCANNER_H

#include <zelscan/zelscan_export.h>

#include <QMap>
#include <QObject>
#include <QString>

namespace zelscan {

/// A scanner: one look at the network that reports what it found as discovery records, the
/// key constants of <zelmw/vocabulary/ZelConstants.h> to their values, ready for
/// zelmw::DiscoveryHandler::addDiscovery. It runs on the event loop of the thread it lives on,
/// never blocks it, and sends traffic only on the interface it was given. Not copyable.
class ZELSCAN_EXPORT Scanner : public QObject
{
    Q_OBJECT

public:
    ~Scanner() override;

    /// Starts the look; returns at once. discovered() reports each record, finished() the end.
    /// A scanner that cannot start (no such interface, a socket it cannot open) logs one
    /// warning and emits finished() from the event loop, having found nothing. Calling start()
    /// again while a look is running does nothing.
    virtual void start() = 0;

signals:
    /// One device as a discovery record. Text from the network is bounded to the library's
    /// record bounds and is never interpreted.
    void discovered(const QMap<QString, QString> &record);
    /// The look is over: every record has been reported.
    void finished();

protected:
    /// For a scanner's own constructor; @p parent owns the scanner as any QObject's does.
    explicit Scanner(QObject *parent = nullptr);
};

} // namespace zelscan

#endif // ZELSCAN_SCANNER_H
