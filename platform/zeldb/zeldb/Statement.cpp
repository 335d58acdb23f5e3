#include <zeldb/Statement_p.h>

#include <QSqlQuery>

#ifdef ZELDB_STATEMENT_FAULTS
#include <zeldb/StatementFaults_p.h>
#endif

namespace zeldb {

bool runStatement(QSqlQuery &query, QSqlError &error, const QString &sql)
{
#ifdef ZELDB_STATEMENT_FAULTS
    if (StatementFaults::failsNext(error))
        return false;
#endif
    if (sql.isEmpty() ? query.exec() : query.exec(sql))
        return true;
    error = query.lastError();
    return false;
}

} // namespace zeldb
