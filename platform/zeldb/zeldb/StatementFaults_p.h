#ifndef ZELDB_STATEMENTFAULTS_P_H
#define ZELDB_STATEMENTFAULTS_P_H

#include <QtGlobal>

class QSqlError;

namespace zeldb {

// Makes one statement of the calling thread fail as SQLite would fail it, so that tests reach
// the failure paths a full disk or a busy store takes. Only the record store's test build has
// it (ZELDB_STATEMENT_FAULTS); the shipped library does not. A statement is one execution of a
// table's statement or of the transaction's BEGIN IMMEDIATE or COMMIT; preparing is not one.
struct StatementFaults
{
    enum class Kind { IoError, Locked };

    // The K-th statement from now on the calling thread (1-based) fails once with KIND.
    static void failNth(qint64 k, Kind kind);
    static void clear();
    // Statements run (or failed by this) on the calling thread since the last reset.
    static qint64 executed();
    static void resetCount();

    // Counts a statement about to run; true, with SQLite's error for it in ERROR, when it is
    // the one to fail.
    static bool failsNext(QSqlError &error);
};

} // namespace zeldb

#endif // ZELDB_STATEMENTFAULTS_P_H
