#ifndef ZELMAP_STORECOMMANDS_H
#define ZELMAP_STORECOMMANDS_H

class CommandContext;

// The commands on the store's own records (the configuration and the warranty registrations)
// and the user's edits of a map.
class StoreCommands
{
public:
    static int config(const CommandContext &context);
    static int warranty(const CommandContext &context);
    static int merge(const CommandContext &context);
    static int maintenance(const CommandContext &context);
};

#endif // ZELMAP_STORECOMMANDS_H
