#ifndef ZELDB_OWNERONLYFILE_P_H
#define ZELDB_OWNERONLYFILE_P_H

#include <QString>

namespace zeldb {

// The database holds router passwords, Wi-Fi keys and personal data: nobody but its owner may
// read it, and a file someone else could read or change is not used at all.
class OwnerOnlyFile
{
public:
    // Creates PATH readable and writable by its owner only when there is none, also where PATH
    // is a symbolic link to a missing file, before SQLite first opens it (SQLite gives its
    // -wal and -shm files the main file's mode).
    static void create(const QString &path);
    // Narrows the modes of PATH and of its -wal and -shm files to their owner's bits, never
    // widening them (a file the user made read-only stays so). False, with the reason in
    // REASON, when one of them belongs to another user or cannot be narrowed.
    static bool restrict(const QString &path, QString &reason);
};

} // namespace zeldb

#endif // ZELDB_OWNERONLYFILE_P_H
