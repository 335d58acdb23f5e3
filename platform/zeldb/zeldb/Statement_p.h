#ifndef ZELDB_STATEMENT_P_H
#define ZELDB_STATEMENT_P_H

#include <QSqlError>
#include <QString>

class QSqlQuery;

namespace zeldb {

class WriteStatement;

// Runs QUERY as prepared, or SQL on QUERY's connection when SQL is given, or a prepared
// write: every statement of the store that can fail in use goes through here, so that the
// test build can fail one on demand. False, with the reason in ERROR, on failure.
bool runStatement(QSqlQuery &query, QSqlError &error, const QString &sql = QString());
bool runStatement(WriteStatement &statement, QSqlError &error);

} // namespace zeldb

#endif // ZELDB_STATEMENT_P_H
