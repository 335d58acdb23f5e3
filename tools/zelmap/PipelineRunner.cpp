#include "PipelineRunner.h"
#include "TerminalText.h"

#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMapObject.h>

#include <QCoreApplication>
#include <QSaveFile>

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int)
{
    interrupted = 1;
}

// The program's name, which signs its messages on stderr.
QString toolName()
{
    return QCoreApplication::applicationName();
}

qint64 recordCount(const QList<ReplayFile::Step> &steps)
{
    qint64 count = 0;
    for (const ReplayFile::Step &step : steps)
        count += step.isConnection ? 0 : 1;
    return count;
}

const int TICK_MS = 20;
// Records left waiting for the listener: enough that it never idles between two ticks, far
// below the queue's bound of 20,000, so no record is refused for want of room by count.
const int FEED_AHEAD = 1000;

} // namespace

PipelineRunner::PipelineRunner(const QList<ReplayFile::Step> &steps, int intervalMs,
                               const QString &progressPath)
    : m_steps(steps)
    , m_intervalMs(intervalMs)
    , m_progressPath(progressPath)
    , m_out(stdout)
    , m_total(recordCount(steps))
    , m_progress(m_total, stderr)
    , m_processedBase(0)
    , m_queued(0)
    , m_next(0)
    , m_status(0)
    , m_keepListening(false)
    , m_echo(true)
{ }

qint64 PipelineRunner::finished() const
{
    return m_handler.processedDiscoveryCount() - m_processedBase;
}

void PipelineRunner::writeProgress()
{
    // Replaced whole by a rename, so a reader, or a kill, never meets half a number.
    QSaveFile file(m_progressPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray::number(finished())) < 0
        || !file.commit())
        std::fprintf(stderr, "%s: %s: cannot write the progress\n", qPrintable(toolName()),
                     qPrintable(m_progressPath));
}

int PipelineRunner::run()
{
    connect(this, &PipelineRunner::done, this, [](int status) { QCoreApplication::exit(status); });
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    start();
    QCoreApplication::exec();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    return m_status;
}

void PipelineRunner::start()
{
    if (m_intervalMs >= 0)
        m_handler.setListenerInterval(m_intervalMs);
    m_processedBase = m_handler.processedDiscoveryCount();
    const boost::shared_ptr<zelmw::InUseMapController> controller
        = zelmw::InUseMapController::getInstance();
    // The switch is signalled on the listener thread just before the new map's first
    // changes: subscribe to the map right there, and print from this thread.
    connect(
        controller.get(), &zelmw::InUseMapController::inUseMapChanged, this,
        [this](const zelmw::NetworkMapSharedPtr &map) {
            watch(map);
            QMetaObject::invokeMethod(this, "onInUseMapChanged", Qt::QueuedConnection,
                                      Q_ARG(zelmw::NetworkMapSharedPtr, map));
        },
        Qt::DirectConnection);
    m_watched = controller->getInUseNetworkMap();
    watch(m_watched);

    connect(&m_ticker, &QTimer::timeout, this, &PipelineRunner::onTick);
    m_ticker.start(m_progressPath.isEmpty() ? TICK_MS : 1);
}

void PipelineRunner::abandon(const char *reason)
{
    // The listener finishes the record in hand; the ones still queued are never applied.
    m_ticker.stop();
    m_handler.stopQueueListener();
    m_handler.clearDiscoveryQueue();
    if (m_echo)
        m_progress.clearLine();
    std::fprintf(stderr, "%s: %s: %lld of %lld records applied\n", qPrintable(toolName()), reason,
                 static_cast<long long>(finished()), static_cast<long long>(m_total));
    m_status = 1;
    emit done(m_status);
}

void PipelineRunner::onTick()
{
    if (interrupted) {
        abandon("interrupted");
        return;
    }
    while (m_next < m_steps.size()) {
        const ReplayFile::Step &step = m_steps.at(m_next);
        if (!step.isConnection) {
            if (!m_progressPath.isEmpty()) {
                if (finished() < m_queued)
                    break; // one at a time
                writeProgress();
            } else if (m_handler.pendingDiscoveryCount() >= FEED_AHEAD) {
                break;
            }
            // Only this runner feeds the queue: one that was empty had room for any record, so
            // a refusal then is final; otherwise the queue is full by size, and the record is
            // offered again once the listener has made room.
            const bool queueWasEmpty = m_handler.pendingDiscoveryCount() == 0;
            if (!m_handler.addDiscovery(step.record)) {
                if (queueWasEmpty) {
                    abandon("a record was refused by the discovery pipeline");
                    return;
                }
                break;
            }
            ++m_queued;
            ++m_next;
            continue;
        }
        if (finished() < m_queued)
            break; // ping results apply to the map as every earlier record left it
        const zelmw::NetworkMapSharedPtr map
            = zelmw::InUseMapController::getInstance()->getInUseNetworkMap();
        QCoreApplication::processEvents(); // print the changes that came before these results
        if (map)
            map->saveConnectionStatus(step.connection);
        else
            std::fprintf(stderr, "%s: ping results before any map is in use: ignored\n",
                         qPrintable(toolName()));
        ++m_next;
    }
    if (m_echo)
        m_progress.update(finished());
    if (m_next == m_steps.size() && finished() >= m_queued) {
        m_ticker.stop();
        if (!m_keepListening)
            m_handler.stopQueueListener();
        QCoreApplication::processEvents(); // changes signalled by the last records
        if (m_echo)
            m_progress.finish(finished());
        if (!m_progressPath.isEmpty())
            writeProgress();
        emit done(m_status);
    }
}

// Thread-safe: connecting is, and a map once watched stays watched (switching back to it
// needs no new subscription).
void PipelineRunner::watch(const zelmw::NetworkMapSharedPtr &map)
{
    if (!map)
        return;
    zelmw::NetworkMap *raw = map.get();
    connect(raw, &zelmw::NetworkMap::nwMapObjCreated, this, &PipelineRunner::onCreated,
            Qt::UniqueConnection);
    connect(raw, &zelmw::NetworkMap::nwMapObjDeleted, this, &PipelineRunner::onDeleted,
            Qt::UniqueConnection);
    connect(raw, &zelmw::NetworkMap::nwmapObjConnected, this, &PipelineRunner::onConnected,
            Qt::UniqueConnection);
    connect(raw, &zelmw::NetworkMap::nwmapObjDisconnected, this, &PipelineRunner::onDisconnected,
            Qt::UniqueConnection);
}

void PipelineRunner::onInUseMapChanged(const zelmw::NetworkMapSharedPtr &map)
{
    m_watched = map;
    if (!m_echo)
        return;
    m_progress.clearLine();
    m_out << "~ now in use: map " << map->getId() << " \"" << TerminalText::escaped(map->getName())
          << "\"\n";
    m_out.flush();
}

void PipelineRunner::printDevice(const QString &prefix, int id, const QString &suffix)
{
    if (!m_echo)
        return;
    m_progress.clearLine();
    m_out << prefix << ' ' << id;
    const boost::shared_ptr<zelmw::NetworkMapObject> device
        = m_watched ? m_watched->getNwMapObject(id) : boost::shared_ptr<zelmw::NetworkMapObject>();
    if (device)
        m_out << ' ' << TerminalText::escaped(device->getTypeName()) << " \""
              << TerminalText::escaped(device->getName()) << "\" "
              << TerminalText::escaped(device->getIpAddress());
    m_out << suffix << '\n';
    m_out.flush();
}

void PipelineRunner::onCreated(int id, bool masterDevice)
{
    printDevice(QStringLiteral("+"), id,
                masterDevice ? QStringLiteral(" (master gateway)") : QString());
}

void PipelineRunner::onDeleted(int id)
{
    if (!m_echo)
        return;
    m_progress.clearLine();
    m_out << "- " << id << '\n';
    m_out.flush();
}

void PipelineRunner::onConnected(int id)
{
    printDevice(QStringLiteral("* connected"), id, QString());
}

void PipelineRunner::onDisconnected(int id)
{
    printDevice(QStringLiteral("* disconnected"), id, QString());
}
