#ifndef ZELDB_WRITERLOCK_P_H
#define ZELDB_WRITERLOCK_P_H

#include <QString>

namespace zeldb {

// One process writes a database file at a time: two that both wrote would each store what
// the other stored already (every device twice). The first write of a process takes an
// advisory lock on FILE.writer beside the file and keeps it for the life of the process, with
// its PID and program name written into it. Reads never need it.
class WriterLock
{
public:
    // Whether this process may write the file at FILEPATH: it holds the lock, or takes it
    // now. Otherwise REFUSAL names the process that writes the file; a later call tries
    // again. Safe to call from any thread.
    static bool acquire(const QString &filePath, QString &refusal);
};

} // namespace zeldb

#endif // ZELDB_WRITERLOCK_P_H
