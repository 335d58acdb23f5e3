#ifndef ZELDB_ZELDBDATABASE_P_H
#define ZELDB_ZELDBDATABASE_P_H

#include <zeldb/ZelDbDatabase.h>

namespace zeldb {

// The tables run their statements through these two.
class ZelDbDatabase::Statements
{
public:
    static QSqlQuery *statement(const ZelDbDatabase &database, const QString &sql, bool writes,
                                QSqlError &error)
    {
        return database.Statement(sql, writes, error);
    }
    static void reportError(ZelDbDatabase &database, const QString &what, const QSqlError &error)
    {
        database.reportError(what, error);
    }
};

} // namespace zeldb

#endif // ZELDB_ZELDBDATABASE_P_H
