#ifndef ZELMAP_COMMANDLINE_H
#define ZELMAP_COMMANDLINE_H

#include "ReplayFile.h"

#include <zelmw/networkmap/NetworkMap.h>

#include <QCommandLineParser>
#include <QStringList>

// The tool's front end: global options, one sub-command with its own options and --help.
// Exit status 0 on success, 1 when the work failed, 2 on a usage error; messages on stderr.
class CommandLine
{
public:
    enum Status { Success = 0, Failure = 1, UsageError = 2 };

    int run(const QStringList &arguments);

private:
    // What a command does with the store: only reads it, also changes the configuration, or
    // feeds records into it.
    enum class StoreUse { Read, Configure, Feed };

    // Parses the command's own arguments; false when the caller should return m_status.
    bool parse(QCommandLineParser &parser, const QString &synopsis, int minArgs, int maxArgs);
    int fail(Status status, const QString &message) const;
    bool setUpStore(const QString &dataDir, StoreUse use);
    zelmw::NetworkMapSharedPtr mapArgument(const QStringList &positional, int index);
    int inUseMapId() const;

    int replay();
    int scan();
    int maps();
    int show();
    int device();
    int exportMap();
    int config();
    int warranty();

    int feed(const QList<ReplayFile::Step> &steps, const QString &interval,
             const QString &progressPath = QString());
    void printShowTable(const zelmw::NetworkMapSharedPtr &map) const;

    QString m_command;
    QStringList m_commandArguments;
    int m_status = Success;
};

#endif // ZELMAP_COMMANDLINE_H
