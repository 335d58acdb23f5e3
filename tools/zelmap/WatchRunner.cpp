#include "WatchRunner.h"

#include "CommandContext.h"

#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QCoreApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The write end of the self-pipe: a signal handler may do no more than write a byte to it.
volatile std::sig_atomic_t signalFd = -1;
struct sigaction previousInt;
struct sigaction previousTerm;

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    if (signalFd >= 0)
        (void)!::write(signalFd, &byte, 1);
    errno = saved;
}

} // namespace

WatchRunner::WatchRunner(const CommandContext &context, const Settings &settings)
    : m_context(context)
    , m_settings(settings)
{
    m_scanner.setSearching(true);
    m_scanner.setListenWindow(settings.waitMs);
    m_scanner.setInterfaceName(settings.interfaceName);
    connect(&m_scanner, &zelscan::Scanner::discovered, this,
            [this](const QMap<QString, QString> &record) {
                ReplayFile::Step step;
                step.record = record;
                m_steps.append(step);
            });
    connect(&m_scanner, &zelscan::Scanner::finished, this, &WatchRunner::scanned);
    m_nextRound.setSingleShot(true);
    connect(&m_nextRound, &QTimer::timeout, this, &WatchRunner::startRound);
}

WatchRunner::~WatchRunner()
{
    if (m_signalPipe[0] < 0)
        return;
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
    signalFd = -1;
    m_signalNotifier.reset();
    ::close(m_signalPipe[0]);
    ::close(m_signalPipe[1]);
}

int WatchRunner::run()
{
    if (::pipe2(m_signalPipe, O_NONBLOCK | O_CLOEXEC) != 0)
        return m_context.fail(CommandContext::Failure,
                              QStringLiteral("cannot make a pipe for the signals"));
    m_signalNotifier = std::make_unique<QSocketNotifier>(m_signalPipe[0], QSocketNotifier::Read);
    connect(m_signalNotifier.get(), &QSocketNotifier::activated, this, &WatchRunner::signalled);
    signalFd = m_signalPipe[1];
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);

    QTimer::singleShot(0, this, &WatchRunner::startRound);
    QCoreApplication::exec();
    return m_status;
}

void WatchRunner::startRound()
{
    if (m_stopping) {
        finish(CommandContext::Success);
        return;
    }
    ++m_round;
    m_busy = true;
    m_roundClock.start();
    m_steps.clear();
    m_scanner.start();
}

void WatchRunner::scanned()
{
    if (!m_scanner.error().isEmpty()) {
        if (m_round == 1) {
            finish(m_context.fail(CommandContext::Failure, m_scanner.error()));
            return;
        }
        std::fprintf(stderr, "zelmap watch: round %d: %s\n", m_round,
                     qPrintable(m_scanner.error()));
        endRound();
        return;
    }
    // Whether a device is still there, only the device can say: the neighbour table, and so
    // the search's records, keep one that has left. So every device found or known is asked,
    // and only those that answer are fed and reported present.
    QList<QHostAddress> addresses;
    for (const ReplayFile::Step &step : qAsConst(m_steps))
        addresses.append(QHostAddress(step.record.value(zelmw::DEVICE_PARAM_LAN_IPADDRESS)));
    if (const zelmw::NetworkMapSharedPtr map
        = zelmw::InUseMapController::getInstance()->getInUseNetworkMap()) {
        for (const QString &ip : map->getMacIpMap(false))
            addresses.append(QHostAddress(ip));
    }
    m_probe = std::make_unique<zelscan::ConnectionProbe>(addresses);
    m_probe->setLinkInterface(m_scanner.searchedInterfaceName());
    connect(m_probe.get(), &zelscan::ConnectionProbe::finished, this, &WatchRunner::probed);
    m_probe->start();
}

void WatchRunner::probed(const QMap<QString, bool> &answered)
{
    m_probe.release()->deleteLater(); // it is emitting
    m_answered = answered;
    QList<ReplayFile::Step> present;
    for (const ReplayFile::Step &step : qAsConst(m_steps)) {
        const QString ip
            = QHostAddress(step.record.value(zelmw::DEVICE_PARAM_LAN_IPADDRESS)).toString();
        // A device that answered this round's UPnP search is there, whatever its firewall
        // does with the probe; and so is this PC.
        if (step.record.contains(zelmw::UPNP_PARAM_DEVICE_IPADDRESS)
            || step.record.value(zelmw::PC_PARAM_ISLOCALZEL) == zelmw::BOOL_TRUE_VALUE)
            m_answered.insert(ip, true);
        if (m_answered.value(ip))
            present.append(step);
    }
    m_steps = present;
    m_feeder = std::make_unique<PipelineRunner>(m_steps, m_settings.intervalMs, QString());
    m_feeder->setKeepListening(true);
    // Queued: the runner is deleted once its round is reported.
    connect(m_feeder.get(), &PipelineRunner::done, this, &WatchRunner::fed, Qt::QueuedConnection);
    m_feeder->start();
}

void WatchRunner::fed(int status)
{
    if (status != CommandContext::Success) {
        finish(status);
        return;
    }
    const zelmw::NetworkMapSharedPtr map
        = zelmw::InUseMapController::getInstance()->getInUseNetworkMap();
    if (!map) {
        finish(m_context.fail(CommandContext::Failure,
                              QStringLiteral("no map is in use: the records named no gateway")));
        return;
    }
    // While the feeder still prints the map's changes.
    reportAnswers(map, m_answered);
    m_feeder.reset();
    endRound();
}

void WatchRunner::reportAnswers(const zelmw::NetworkMapSharedPtr &map,
                                const QMap<QString, bool> &answered)
{
    // The report is by address, which finds the device of lowest id that has it.
    QMap<QString, bool> status;
    int known = 0;
    int heard = 0;
    const QMap<QString, QString> devices = map->getMacIpMap(false);
    for (const QString &ip : devices) {
        if (ip.isEmpty())
            continue;
        const bool answer = answered.value(QHostAddress(ip).toString());
        ++known;
        heard += answer ? 1 : 0;
        status[ip] = answer;
    }
    map->saveConnectionStatus(status);
    QCoreApplication::processEvents(); // what the report changed is printed before the round
    std::fprintf(stdout, "round %d: %lld found, %d of %d known devices answered\n", m_round,
                 static_cast<long long>(m_steps.size()), heard, known);
    std::fflush(stdout);
}

void WatchRunner::endRound()
{
    m_busy = false;
    if (m_stopping || (m_settings.rounds > 0 && m_round >= m_settings.rounds)) {
        finish(CommandContext::Success);
        return;
    }
    m_nextRound.start(int(qMax<qint64>(0, m_settings.everyMs - m_roundClock.elapsed())));
}

void WatchRunner::signalled()
{
    char bytes[16];
    while (::read(m_signalPipe[0], bytes, sizeof bytes) > 0) { }
    if (m_stopping)
        return;
    m_stopping = true;
    if (!m_busy) {
        finish(CommandContext::Success);
        return;
    }
    std::fputs("zelmap watch: stopping after this round\n", stderr);
}

void WatchRunner::finish(int status)
{
    m_nextRound.stop();
    m_status = status;
    QCoreApplication::exit(status);
}
