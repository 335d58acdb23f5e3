#ifndef ZELDB_TABLEBASE_H
#define ZELDB_TABLEBASE_H

#include <zeldb/RecordBase.h>
#include <zeldb/SelectionCriteria.h>
#include <zeldb/TableSchema.h>
#include <zeldb/zeldb_export.h>

#include <QList>

#include <functional>

class QSqlQuery;

namespace zeldb {

class ZelDbDatabase;

// The SQL of every table, written once against the table's schema. Values always go in as
// bound parameters; rows come back in ascending id.
class ZELDB_EXPORT TableBase
{
public:
    virtual ~TableBase();

    bool ClearTable();
    const TableSchema &schema() const { return m_schema; }

protected:
    TableBase(ZelDbDatabase &database, const TableSchema &schema);
    TableBase(const TableBase &) = delete;
    TableBase &operator=(const TableBase &) = delete;

    // Inserts the fields set on RECORD (a missing create date is stamped) and writes the new
    // id back into it.
    bool insert(RecordBase &record);
    // Fills RECORD from the row with ID; false when there is none.
    bool select(unsigned id, RecordBase &record);
    // Fills ROW with each matching row in turn and calls COLLECT after each; false when no
    // row matched.
    bool selectWhere(const SelectionCriteria &criteria, RecordBase &row,
                     const std::function<void()> &collect);
    // Writes the fields set on RECORD (and stamps a missing update date) into the row with
    // its id; false when that row does not exist.
    bool update(const RecordBase &record);
    bool remove(unsigned id);
    // Inserts a record with id 0, updates any other.
    bool addOrUpdate(RecordBase &record);

private:
    enum class Access { Read, Write };

    // A prepared statement of the calling thread's connection; null after reporting why.
    QSqlQuery *prepare(const QString &sql, const char *operation, Access access);
    bool execute(QSqlQuery &query, const char *operation);
    void fill(const QSqlQuery &query, RecordBase &record) const;

    ZelDbDatabase &m_database;
    const TableSchema &m_schema;
};

// Lookups, common to every table.
template<typename Record, typename Criteria> class QueryTable : public TableBase
{
public:
    explicit QueryTable(ZelDbDatabase &database)
        : TableBase(database, Record::schema())
    { }

    static QString createStatement() { return Record::schema().createStatement(); }

    bool Get(unsigned id, Record &record) { return select(id, record); }
    bool Get(QList<Record> &records, const Criteria &criteria)
    {
        records.clear();
        return ForEach(criteria, [&](const Record &row) { records.append(row); });
    }
    // Calls VISIT with each matching row in turn, without collecting them; false when no row
    // matched. The row is refilled for the next one: VISIT copies what it keeps.
    template<typename Visit> bool ForEach(const Criteria &criteria, Visit visit)
    {
        Record row;
        return selectWhere(criteria, row, [&] { visit(static_cast<const Record &>(row)); });
    }
};

// A table with the full set of row operations.
template<typename Record, typename Criteria> class Table : public QueryTable<Record, Criteria>
{
public:
    using QueryTable<Record, Criteria>::QueryTable;

    bool Add(Record &record) { return this->insert(record); }
    bool Update(const Record &record) { return this->update(record); }
    bool Delete(unsigned id) { return this->remove(id); }
};

// A table whose rows are only ever added or rewritten, never deleted one by one.
template<typename Record, typename Criteria>
class AddOrUpdateTable : public QueryTable<Record, Criteria>
{
public:
    using QueryTable<Record, Criteria>::QueryTable;

    bool AddOrUpdate(Record &record) { return this->addOrUpdate(record); }
};

} // namespace zeldb

#endif // ZELDB_TABLEBASE_H
