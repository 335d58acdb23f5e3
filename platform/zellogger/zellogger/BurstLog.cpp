#include <zellogger/BurstLog_p.h>
#include <zellogger/ZelLogger.h>

#include <QElapsedTimer>

#include <map>
#include <mutex>
#include <utility>

void BurstLog::log(const QString &message, const QString &kind, int level,
                   const QString &loggerName)
{
    const qint64 QUIET_MS = 10000;
    const qint64 REMINDER_MS = 60000;
    struct Burst
    {
        qint64 lastSeen = -1;
        qint64 lastLogged = -1;
        int unlogged = 0;
    };
    static std::mutex mutex;
    static QElapsedTimer clock;
    static std::map<QString, Burst> bursts;

    int unlogged = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!clock.isValid())
            clock.start();
        const qint64 now = clock.elapsed();
        Burst &burst = bursts[kind];
        const bool due = burst.lastSeen < 0 || now - burst.lastSeen > QUIET_MS
            || now - burst.lastLogged > REMINDER_MS;
        burst.lastSeen = now;
        if (!due) {
            ++burst.unlogged;
            return;
        }
        std::swap(unlogged, burst.unlogged);
        burst.lastLogged = now;
    }
    ZelLogger::getInstance()->log(
        unlogged == 0 ? message
                      : message + QStringLiteral(" (%1 more since the last line)").arg(unlogged),
        level, loggerName);
}
