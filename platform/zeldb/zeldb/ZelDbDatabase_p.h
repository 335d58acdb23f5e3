#ifndef ZELDB_ZELDBDATABASE_P_H
#define ZELDB_ZELDBDATABASE_P_H

#include <zeldb/ZelDbDatabase.h>

namespace zeldb {

class WriteStatement;

// The tables run their statements through these two.
class ZelDbDatabase::Statements
{
public:
    static QSqlQuery *statement(const ZelDbDatabase &database, const QString &sql, bool writes,
                                QSqlError &error)
    {
        return database.Statement(sql, writes, error);
    }
    // The same for an insert, update or delete by id, which runs on SQLite's handle.
    static WriteStatement *writeStatement(const ZelDbDatabase &database, const QString &sql,
                                          QSqlError &error);
    static void reportError(ZelDbDatabase &database, const QString &what, const QSqlError &error)
    {
        database.reportError(what, error);
    }
};

} // namespace zeldb

#endif // ZELDB_ZELDBDATABASE_P_H
