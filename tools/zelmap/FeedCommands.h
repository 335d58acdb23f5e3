#ifndef ZELMAP_FEEDCOMMANDS_H
#define ZELMAP_FEEDCOMMANDS_H

#include "ReplayFile.h"

#include <QList>
#include <QString>

class CommandContext;

// The commands that feed discovery records through the library's pipeline, as a scanner
// would, and end with the map in use.
class FeedCommands
{
public:
    static int replay(const CommandContext &context);
    static int scan(const CommandContext &context);

private:
    static int feed(const CommandContext &context, const QList<ReplayFile::Step> &steps,
                    const QString &interval, const QString &progressPath = QString());
};

#endif // ZELMAP_FEEDCOMMANDS_H
