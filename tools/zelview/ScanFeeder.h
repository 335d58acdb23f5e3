#ifndef ZELVIEW_SCANFEEDER_H
#define ZELVIEW_SCANFEEDER_H

#include "ReplayFile.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class PipelineRunner;

namespace zelscan {
class HomeScanner;
}

// Feeds the discovery pipeline from inside the viewer, one run at a time: a recorded scan, or
// a discovery of the network whose records are then fed the same way. The map in use shows
// the changes as they are applied; nothing is printed.
class ScanFeeder : public QObject
{
    Q_OBJECT

public:
    explicit ScanFeeder(QObject *parent = nullptr);

    bool isRunning() const { return m_running; }

    // Reads the recorded scan at PATH whole and starts feeding it, a record every INTERVAL_MS
    // (-1 keeps the listener's interval). False with the reason in ERROR when a run is going,
    // the store cannot be written or the file is not a valid recording: nothing is fed then.
    bool startReplay(const QString &path, int intervalMs, QString &error);
    // Searches the network on INTERFACE_NAME (empty: the default route's), which sends
    // traffic, then feeds what answered as startReplay() does.
    bool startDiscovery(const QString &interfaceName, int intervalMs, QString &error);

signals:
    // The run is over: STATUS 0 when every record was applied, else 1 with the reason in
    // MESSAGE, or an empty MESSAGE when it was said on stderr already.
    void finished(int status, const QString &message);

private:
    bool begin(QString &error);
    void feed(const QList<ReplayFile::Step> &steps, int intervalMs);
    void end(int status, const QString &message);

    QPointer<PipelineRunner> m_runner;
    QPointer<zelscan::HomeScanner> m_scanner;
    QList<ReplayFile::Step> m_found;
    bool m_running = false;
};

#endif // ZELVIEW_SCANFEEDER_H
