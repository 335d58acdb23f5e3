#ifndef ZELMAP_READCOMMANDS_H
#define ZELMAP_READCOMMANDS_H

#include <zelmw/networkmap/NetworkMap.h>

#include <QString>

class CommandContext;

// The commands that only read the store: they work beside a process that writes it and never
// hold it.
class ReadCommands
{
public:
    static int maps(const CommandContext &context);
    static int show(const CommandContext &context);
    static int device(const CommandContext &context);
    static int history(const CommandContext &context);
    static int exportMap(const CommandContext &context);

    // The devices of MAP as a table, one row each, its role (master gateway, this PC) named,
    // and when a disconnected one was last seen.
    static QString deviceTable(const zelmw::NetworkMapSharedPtr &map);
};

#endif // ZELMAP_READCOMMANDS_H
