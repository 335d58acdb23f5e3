#ifndef ZELMAP_FEEDCOMMANDS_H
#define ZELMAP_FEEDCOMMANDS_H

#include "ReplayFile.h"

#include <QList>
#include <QString>

class CommandContext;
namespace zelscan {
class HomeScanner;
}

// The commands that feed discovery records through the library's pipeline, as a scanner
// would, and end with the map in use.
class FeedCommands
{
public:
    static int replay(const CommandContext &context);
    static int scan(const CommandContext &context);
    static int discover(const CommandContext &context);
    static int watch(const CommandContext &context);

private:
    // Runs SCANNER to its end and appends what it found to STEPS; false when it could not run.
    static bool collect(zelscan::HomeScanner &scanner, QList<ReplayFile::Step> &steps);
    static int feed(const CommandContext &context, const QList<ReplayFile::Step> &steps,
                    int intervalMs, const QString &progressPath = QString());
    // The map in use and its devices on stdout, after a feed that ended with STATUS.
    static int printInUse(const CommandContext &context, int status);
};

#endif // ZELMAP_FEEDCOMMANDS_H
