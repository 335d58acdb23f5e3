#ifndef ZELDB_SCHEMAMIGRATIONS_P_H
#define ZELDB_SCHEMAMIGRATIONS_P_H

#include <zeldb/zeldb_export.h>

#include <QString>

namespace zeldb {

// Brings a stored file written by an earlier release up to ZelDbDatabase::SCHEMA_VERSION,
// one step (version N to N + 1) per transaction, so that a crash or a full disk leaves the
// file at some step's end and the next open goes on from there. Each step re-reads the version
// inside its transaction: two processes opening one old file migrate it once. A file of a
// later release is never written to, and neither is a file with no tables yet (the store
// creates those). Runs on its own short-lived connection, on the calling thread.
class ZELDB_EXPORT SchemaMigrations
{
public:
    enum class Outcome {
        Current, // nothing to do: the file is of this release, or new
        Migrated, // every step ran
        Newer, // written by a later release: left untouched
        Unreadable, // the version cannot be read now (MESSAGE says why); nothing was written
        Failed // a step failed and was rolled back; MESSAGE says why
    };

    // The version stored in the file at PATH: 0 for a file without tables; -1, with the
    // reason in MESSAGE, when it cannot be read. Reads only.
    static int storedVersion(const QString &path, QString &message);
    static Outcome upgrade(const QString &path, QString &message);
};

} // namespace zeldb

#endif // ZELDB_SCHEMAMIGRATIONS_P_H
