#ifndef ZELMAP_COMMANDLINE_H
#define ZELMAP_COMMANDLINE_H

#include <QList>
#include <QString>
#include <QStringList>

class CommandContext;

// The tool's front end: the global options, then one command of the table, which gives the
// usage text, each command's synopsis and the dispatch. Exit status 0 on success, 1 when the
// work failed, 2 on a usage error; messages on stderr.
class CommandLine
{
public:
    int run(const QStringList &arguments);

private:
    // What a command does with the store: only reads it, also changes the configuration,
    // feeds records into it, or feeds them when it asks CommandContext::openStore().
    enum class StoreUse { Read, Configure, Feed, FeedWhenAsked };

    struct Command
    {
        QString name;
        QString synopsis; // after the name
        QString summary;
        StoreUse store;
        int (*handler)(const CommandContext &context);
    };

    static const QList<Command> &commands();
    static QString usage();
    // Success, or the status of the failure reported through CONTEXT.
    static int setUpStore(const QString &dataDir, StoreUse use, const CommandContext &context);
};

#endif // ZELMAP_COMMANDLINE_H
