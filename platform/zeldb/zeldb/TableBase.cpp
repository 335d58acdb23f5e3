#include <zeldb/RecordBase_p.h>
#include <zeldb/Statement_p.h>
#include <zeldb/StoredForm_p.h>
#include <zeldb/TableBase.h>
#include <zeldb/ThreadConnections_p.h>
#include <zeldb/WriteStatement_p.h>
#include <zeldb/ZelDbDatabase_p.h>

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace zeldb {

namespace {

const QString CREATE_DATE = QStringLiteral("CreateDate");
const QString UPDATE_DATE = QStringLiteral("UpdateDate");

// The local time now; the rows of one change are stamped within the same millisecond mostly,
// so the last one made on the thread is reused for that millisecond.
QDateTime now()
{
    ThreadConnections::Texts &texts = ThreadConnections::current().texts();
    const qint64 msecs = QDateTime::currentMSecsSinceEpoch();
    if (msecs != texts.stampMSecs) {
        texts.stamp = QDateTime::fromMSecsSinceEpoch(msecs);
        texts.stampMSecs = msecs;
    }
    return texts.stamp;
}

// Statements are reused: each use ends by releasing its result, so no read snapshot stays
// open between operations.
class FinishOnExit
{
public:
    explicit FinishOnExit(QSqlQuery *query)
        : m_query(query)
    { }
    ~FinishOnExit()
    {
        if (m_query)
            m_query->finish();
    }
    FinishOnExit(const FinishOnExit &) = delete;
    FinishOnExit &operator=(const FinishOnExit &) = delete;

private:
    QSqlQuery *m_query;
};

} // namespace

TableBase::TableBase(ZelDbDatabase &database, const TableSchema &schema)
    : m_database(database)
    , m_schema(schema)
{ }

TableBase::~TableBase() = default;

QSqlQuery *TableBase::prepare(const QString &sql, const char *operation, Access access)
{
    QSqlError error;
    QSqlQuery *query
        = ZelDbDatabase::Statements::statement(m_database, sql, access == Access::Write, error);
    if (!query)
        report(operation, error);
    return query;
}

WriteStatement *TableBase::prepareWrite(const QString &sql, const char *operation)
{
    QSqlError error;
    WriteStatement *statement = ZelDbDatabase::Statements::writeStatement(m_database, sql, error);
    if (!statement)
        report(operation, error);
    return statement;
}

template<typename Statement> bool TableBase::execute(Statement &statement, const char *operation)
{
    QSqlError error;
    if (runStatement(statement, error))
        return true;
    report(operation, error);
    return false;
}

void TableBase::report(const char *operation, const QSqlError &error)
{
    // The error text only: bound values may hold passwords.
    ZelDbDatabase::Statements::reportError(
        m_database, QStringLiteral("%1 %2").arg(m_schema.tableName(), QLatin1String(operation)),
        error);
}

void TableBase::fill(const QSqlQuery &query, RecordBase &record) const
{
    for (int i = 0; i < m_schema.fieldCount(); ++i)
        RecordBase::Storage::setStored(record, i, m_schema.fromStorage(i, query.value(i)));
}

bool TableBase::insert(RecordBase &record)
{
    const int createDate = m_schema.fieldNumber(CREATE_DATE);
    if (createDate > 0 && !record.IsFieldSet(createDate))
        record.SetValue(createDate, now());

    const quint64 fields = RecordBase::Storage::fieldsSet(record) & ~quint64(1);
    WriteStatement *statement = prepareWrite(m_schema.insertStatement(fields), "insert");
    if (!statement)
        return false;
    int position = 0;
    for (int i = 1; i < m_schema.fieldCount(); ++i) {
        if (fields & (quint64(1) << i))
            RecordBase::Storage::bind(record, i, *statement, position++);
    }
    if (!execute(*statement, "insert"))
        return false;
    record.setId(unsigned(statement->lastInsertId()));
    return true;
}

bool TableBase::select(unsigned id, RecordBase &record)
{
    QSqlQuery *query = prepare(m_schema.selectByIdStatement(), "select", Access::Read);
    const FinishOnExit finish(query);
    if (!query)
        return false;
    query->bindValue(0, qlonglong(id));
    if (!execute(*query, "select") || !query->next())
        return false;
    fill(*query, record);
    return true;
}

bool TableBase::whereClause(const SelectionCriteria &criteria, QString &sql) const
{
    QStringList conditions;
    for (const SelectionCriteria::Condition &condition : criteria.conditions()) {
        if (!m_schema.hasField(condition.field))
            return false;
        const QString &name = m_schema.field(condition.field).name;
        switch (condition.comparison) {
        case SelectionCriteria::Comparison::Equal:
            conditions << name + QLatin1String(" = ?");
            break;
        case SelectionCriteria::Comparison::NotEqual:
            conditions << name + QLatin1String(" <> ?");
            break;
        case SelectionCriteria::Comparison::Less:
            conditions << name + QLatin1String(" < ?");
            break;
        case SelectionCriteria::Comparison::InSelection:
            conditions << name + QLatin1String(" IN (") + condition.selection + QLatin1Char(')');
            break;
        }
    }
    if (!conditions.isEmpty())
        sql += QLatin1String(" WHERE ") + conditions.join(QLatin1String(" AND "));
    return true;
}

void TableBase::bindConditions(const SelectionCriteria &criteria, QSqlQuery &query) const
{
    int position = 0;
    for (const SelectionCriteria::Condition &condition : criteria.conditions()) {
        // A selection's parameter is its own, not necessarily of the field's type.
        query.bindValue(position++,
                        condition.comparison == SelectionCriteria::Comparison::InSelection
                            ? condition.value
                            : m_schema.toStorage(condition.field, condition.value));
    }
}

bool TableBase::selectWhere(const SelectionCriteria &criteria, RecordBase &row,
                            const std::function<void()> &collect)
{
    QString sql = m_schema.selectAllStatement();
    if (!whereClause(criteria, sql) || !m_schema.hasField(criteria.orderField()))
        return false;
    sql += QLatin1String(" ORDER BY ");
    if (criteria.orderField() > 0)
        sql += m_schema.field(criteria.orderField()).name + QLatin1String(", ");
    sql += m_schema.field(0).name;

    QSqlQuery *query = prepare(sql, "select", Access::Read);
    const FinishOnExit finish(query);
    if (!query)
        return false;
    bindConditions(criteria, *query);
    if (!execute(*query, "select"))
        return false;
    bool found = false;
    while (query->next()) {
        fill(*query, row);
        collect();
        found = true;
    }
    return found;
}

bool TableBase::removeWhere(const SelectionCriteria &criteria)
{
    QString sql = QLatin1String("DELETE FROM ") + m_schema.tableName();
    if (!whereClause(criteria, sql))
        return false;
    QSqlQuery *query = prepare(sql, "delete", Access::Write);
    const FinishOnExit finish(query);
    if (!query)
        return false;
    bindConditions(criteria, *query);
    return execute(*query, "delete");
}

bool TableBase::update(const RecordBase &record)
{
    quint64 fields = RecordBase::Storage::fieldsSet(record) & ~quint64(1);
    const int updateDate = m_schema.fieldNumber(UPDATE_DATE);
    const bool stampUpdateDate = updateDate > 0 && !record.IsFieldSet(updateDate);
    if (stampUpdateDate)
        fields |= quint64(1) << updateDate;
    // With nothing to write, the statement still tells whether the row exists.
    WriteStatement *statement = prepareWrite(m_schema.updateStatement(fields), "update");
    if (!statement)
        return false;
    int position = 0;
    for (int i = 1; i < m_schema.fieldCount(); ++i) {
        if (i == updateDate && stampUpdateDate)
            statement->bindText(position++, storedForm(now()));
        else if (fields & (quint64(1) << i))
            RecordBase::Storage::bind(record, i, *statement, position++);
    }
    statement->bindNumber(position, record.Id());
    return execute(*statement, "update") && statement->numRowsAffected() > 0;
}

bool TableBase::remove(unsigned id)
{
    WriteStatement *statement = prepareWrite(m_schema.deleteByIdStatement(), "delete");
    if (!statement)
        return false;
    statement->bindNumber(0, id);
    return execute(*statement, "delete") && statement->numRowsAffected() > 0;
}

bool TableBase::addOrUpdate(RecordBase &record)
{
    return record.Id() == 0 ? insert(record) : update(record);
}

bool TableBase::ClearTable()
{
    QSqlQuery *query = prepare(m_schema.clearStatement(), "clear", Access::Write);
    const FinishOnExit finish(query);
    return query && execute(*query, "clear");
}

} // namespace zeldb
