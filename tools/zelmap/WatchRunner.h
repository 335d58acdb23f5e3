#ifndef ZELMAP_WATCHRUNNER_H
#define ZELMAP_WATCHRUNNER_H

#include "PipelineRunner.h"
#include "ReplayFile.h"

#include <zelscan/HomeScanner.h>
#include <zelscan/probe/ConnectionProbe.h>

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>

class CommandContext;

// Discovery rounds, one every so often, on the event loop: each searches the network, asks each
// device found or known whether it is there (zelscan::ConnectionProbe), feeds the records of
// those that answered through the pipeline as a replay would, then tells
// the map in use which of its devices answered (NetworkMap::saveConnectionStatus), so that one
// silent for five rounds turns disconnected and one silent past its lease is deleted. SIGINT and
// SIGTERM stop it after the round in hand.
class WatchRunner : public QObject
{
    Q_OBJECT

public:
    struct Settings
    {
        QString interfaceName; // empty: the default route's
        int waitMs = 2000; // the UPnP listen window
        int everyMs = 10000; // from one round's start to the next
        int rounds = 0; // 0: until a signal
        int intervalMs = -1; // the listener's; < 0 keeps its own
    };

    WatchRunner(const CommandContext &context, const Settings &settings);
    ~WatchRunner() override;

    // Runs the rounds; the exit status. A first round that cannot look, or any round whose
    // records the pipeline refuses, ends the watch with 1; a later round that cannot look is
    // said on stderr and the watch goes on.
    int run();

private:
    void startRound();
    void scanned();
    void probed(const QMap<QString, bool> &answered);
    void fed(int status);
    void reportAnswers(const zelmw::NetworkMapSharedPtr &map, const QMap<QString, bool> &answered);
    void endRound();
    void signalled();
    void finish(int status);

    const CommandContext &m_context;
    const Settings m_settings;
    zelscan::HomeScanner m_scanner;
    QList<ReplayFile::Step> m_steps;
    std::unique_ptr<PipelineRunner> m_feeder;
    std::unique_ptr<zelscan::ConnectionProbe> m_probe;
    QMap<QString, bool> m_answered; // by the probe, this round
    QTimer m_nextRound;
    QElapsedTimer m_roundClock;
    int m_signalPipe[2] = { -1, -1 };
    std::unique_ptr<QSocketNotifier> m_signalNotifier;
    int m_round = 0;
    bool m_busy = false;
    bool m_stopping = false;
    int m_status = 0;
};

#endif // ZELMAP_WATCHRUNNER_H
