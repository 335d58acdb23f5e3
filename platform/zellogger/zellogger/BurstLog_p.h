#ifndef ZELLOGGER_BURSTLOG_P_H
#define ZELLOGGER_BURSTLOG_P_H

#include <zellogger/zellogger_export.h>

#include <QString>

// A fault that repeats (a full disk, a scanner sending the same absurd record) would flood the
// log with one line per occurrence. This logs one line per burst instead: a line of a KIND is
// logged when the kind is new or was last seen more than 10 s ago, and while the burst goes on
// once a minute with the number of lines left out. Safe to call from any thread.
class ZELLOGGER_EXPORT BurstLog
{
public:
    static void log(const QString &message, const QString &kind, int level,
                    const QString &loggerName);
};

#endif // ZELLOGGER_BURSTLOG_P_H
