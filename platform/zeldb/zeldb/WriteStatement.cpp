#include <zeldb/WriteStatement_p.h>

#include <sqlite3.h>

namespace zeldb {

namespace {

QSqlError sqliteError(sqlite3 *database, const QString &what, int code)
{
    return QSqlError(what, QString::fromUtf8(sqlite3_errmsg(database)), QSqlError::StatementError,
                     QString::number(code));
}

} // namespace

std::unique_ptr<WriteStatement> WriteStatement::prepare(sqlite3 *database, const QString &sql,
                                                        QSqlError &error)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *statement = nullptr;
    const int result
        = sqlite3_prepare_v2(database, text.constData(), int(text.size()), &statement, nullptr);
    if (result != SQLITE_OK) {
        error = sqliteError(database, QStringLiteral("Unable to prepare statement"), result);
        sqlite3_finalize(statement);
        return nullptr;
    }
    return std::unique_ptr<WriteStatement>(new WriteStatement(database, statement));
}

WriteStatement::WriteStatement(sqlite3 *database, sqlite3_stmt *statement)
    : m_database(database)
    , m_statement(statement)
{ }

WriteStatement::~WriteStatement()
{
    sqlite3_finalize(m_statement);
}

void WriteStatement::bindText(int position, const QString &text)
{
    // A move keeps an array's data where it is, so the vector may grow.
    m_texts.push_back(text.toUtf8());
    const QByteArray &utf8 = m_texts.back();
    // A null array's data is null, which SQLite would bind as NULL.
    sqlite3_bind_text(m_statement, position + 1, utf8.isNull() ? "" : utf8.constData(),
                      int(utf8.size()), SQLITE_STATIC);
}

void WriteStatement::bindNumber(int position, qint64 number)
{
    sqlite3_bind_int64(m_statement, position + 1, number);
}

void WriteStatement::bindNull(int position)
{
    sqlite3_bind_null(m_statement, position + 1);
}

bool WriteStatement::exec(QSqlError &error)
{
    const int result = sqlite3_step(m_statement);
    const bool done = result == SQLITE_DONE || result == SQLITE_ROW;
    if (!done)
        error = sqliteError(m_database, QStringLiteral("Unable to execute statement"), result);
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    m_texts.clear();
    return done;
}

qint64 WriteStatement::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_database);
}

int WriteStatement::numRowsAffected() const
{
    return sqlite3_changes(m_database);
}

} // namespace zeldb
