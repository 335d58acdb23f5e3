#include <zeldb/Statement_p.h>
#include <zeldb/WriteStatement_p.h>

#include <QSqlQuery>

#ifdef ZELDB_STATEMENT_FAULTS
#include <zeldb/StatementFaults_p.h>
#endif

namespace zeldb {

namespace {

// The test build's seam: true, with the failure in ERROR, when this statement is to fail.
bool failsOnDemand(QSqlError &error)
{
#ifdef ZELDB_STATEMENT_FAULTS
    return StatementFaults::failsNext(error);
#else
    Q_UNUSED(error);
    return false;
#endif
}

} // namespace

bool runStatement(QSqlQuery &query, QSqlError &error, const QString &sql)
{
    if (failsOnDemand(error))
        return false;
    if (sql.isEmpty() ? query.exec() : query.exec(sql))
        return true;
    error = query.lastError();
    return false;
}

bool runStatement(WriteStatement &statement, QSqlError &error)
{
    return !failsOnDemand(error) && statement.exec(error);
}

} // namespace zeldb
