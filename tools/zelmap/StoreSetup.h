#ifndef ZELMAP_STORESETUP_H
#define ZELMAP_STORESETUP_H

#include <QString>

// Opens the store for a host tool, zelmap's commands and zelview alike: the data directory
// (created when missing), the database, the writer's claim and the configuration's defaults.
class StoreSetup
{
public:
    // What the tool does with the store: only reads it, also changes the configuration, or
    // feeds records into it.
    enum class Use { Read, Configure, Feed };

    // Keeps the database in DATADIR/ZelDb.db (the library's default place when DATADIR is
    // empty) and opens it for USE; false with the reason in ERROR. Before any other use of the
    // library: the data directory cannot change once a connection has fixed it.
    static bool open(const QString &dataDir, Use use, QString &error);
    // Makes this process the store's only writer and stores the configuration's defaults, for
    // a tool that opened the store to read and is about to feed it; false with the reason (the
    // writer that holds the store, for one) in ERROR.
    static bool claimForFeeding(QString &error);
};

#endif // ZELMAP_STORESETUP_H
