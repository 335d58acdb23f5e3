#ifndef ZELMAP_PIPELINERUNNER_H
#define ZELMAP_PIPELINERUNNER_H

#include "ProgressReporter.h"
#include "ReplayFile.h"

#include <zelmw/discovery/DiscoveryHandler.h>
#include <zelmw/networkmap/NetworkMap.h>

#include <QList>
#include <QObject>
#include <QTextStream>
#include <QTimer>

// Feeds recorded steps through the discovery pipeline as a scanner would, a bounded number
// ahead of the listener, applies ping results once every earlier record is done, and prints
// each change the map in use signals, device-provided text escaped for the terminal. Its
// messages on stderr are signed with the application's name.
class PipelineRunner : public QObject
{
    Q_OBJECT

public:
    // INTERVAL_MS < 0 keeps the listener's own interval. With a PROGRESSPATH, records are fed
    // one at a time and the file holds the count finished before the next is fed.
    PipelineRunner(const QList<ReplayFile::Step> &steps, int intervalMs,
                   const QString &progressPath);

    // Runs until every step is applied or Ctrl-C; returns the exit status. Stops the
    // discovery listener for good at the end.
    int run();
    // Starts feeding on the running event loop and returns; done() tells the end. Installs no
    // signal handler: the caller decides what a signal stops.
    void start();
    // Whether the end of a run that applied every step leaves the listener running, for the
    // next run of the process; false by default.
    void setKeepListening(bool keep) { m_keepListening = keep; }
    // Whether the changes are printed on stdout and the progress on stderr; true by default.
    // A program that shows the map itself turns this off; failures are reported either way.
    void setEcho(bool echo) { m_echo = echo; }

signals:
    // Every step is applied (STATUS 0), or the run was abandoned (1), said on stderr.
    void done(int status);

private slots:
    void onTick();
    void onInUseMapChanged(const zelmw::NetworkMapSharedPtr &map);
    void onCreated(int id, bool masterDevice);
    void onDeleted(int id);
    void onConnected(int id);
    void onDisconnected(int id);

private:
    // Stops feeding and the listener, says why on stderr, and ends the run with status 1.
    void abandon(const char *reason);
    void watch(const zelmw::NetworkMapSharedPtr &map);
    void printDevice(const QString &prefix, int id, const QString &suffix);
    qint64 finished() const;
    void writeProgress();

    QList<ReplayFile::Step> m_steps;
    int m_intervalMs;
    QString m_progressPath;
    zelmw::DiscoveryHandler m_handler;
    zelmw::NetworkMapSharedPtr m_watched;
    QTimer m_ticker;
    QTextStream m_out;
    const qint64 m_total;
    ProgressReporter m_progress;
    qint64 m_processedBase;
    // Records the queue accepted.
    qint64 m_queued;
    int m_next;
    int m_status;
    bool m_keepListening;
    bool m_echo;
};

#endif // ZELMAP_PIPELINERUNNER_H
