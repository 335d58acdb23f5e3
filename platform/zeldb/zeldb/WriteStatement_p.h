#ifndef ZELDB_WRITESTATEMENT_P_H
#define ZELDB_WRITESTATEMENT_P_H

#include <QByteArray>
#include <QSqlError>
#include <QString>

#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace zeldb {

// A statement that changes the store, prepared once on the connection's own SQLite handle.
// Qt's driver costs a write about as much again as SQLite's work on it (a result cache, a
// QVariant and a UTF-16 copy per value, an error object per run), and writes are most of what
// a discovery record costs; reads stay with QSqlQuery, which hands rows over as QVariants
// anyway. The handle is the one Qt's driver opened: both use the system's SQLite.
class WriteStatement
{
public:
    // SQL prepared on DATABASE; null, with SQLite's reason in ERROR, when it cannot be.
    static std::unique_ptr<WriteStatement> prepare(sqlite3 *database, const QString &sql,
                                                   QSqlError &error);
    ~WriteStatement();
    WriteStatement(const WriteStatement &) = delete;
    WriteStatement &operator=(const WriteStatement &) = delete;

    // Binds the value at POSITION (0-based, as QSqlQuery counts) for the next run. A null
    // text is the empty one, as the store keeps it.
    void bindText(int position, const QString &text);
    void bindNumber(int position, qint64 number);
    void bindNull(int position);
    // Runs the statement once with the values bound and makes it ready for the next run;
    // false, with SQLite's reason in ERROR, when it fails.
    bool exec(QSqlError &error);
    // The row id of the last insert and the rows the last run changed.
    qint64 lastInsertId() const;
    int numRowsAffected() const;

private:
    WriteStatement(sqlite3 *database, sqlite3_stmt *statement);

    sqlite3 *m_database;
    sqlite3_stmt *m_statement;
    // The texts bound for the next run, in UTF-8, kept until it: SQLite reads them where they
    // are instead of copying each.
    std::vector<QByteArray> m_texts;
};

} // namespace zeldb

#endif // ZELDB_WRITESTATEMENT_P_H
