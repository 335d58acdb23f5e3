#ifndef ZELDB_TABLEBASE_H
#define ZELDB_TABLEBASE_H

#include <zeldb/RecordBase.h>
#include <zeldb/SelectionCriteria.h>
#include <zeldb/TableSchema.h>
#include <zeldb/zeldb_export.h>

#include <QList>

#include <functional>

class QSqlError;
class QSqlQuery;

namespace zeldb {

class WriteStatement;
class ZelDbDatabase;

/// The SQL of every table, written once against the table's schema. Values always go in as
/// bound parameters; rows come back in ascending id.
///
/// A table belongs to its ZelDbDatabase, which gives it out, and follows its rule: it is used
/// on the thread that opened the database, and its statements run on that thread's
/// connection. Every operation answers false when the database is not open, when another
/// process writes the file (writes only) or when SQLite fails the statement; a failure is
/// logged (once per burst of the same failure), kept in the database's lastError() and, inside
/// a transaction, makes the whole transaction fail. Not copyable.
class ZELDB_EXPORT TableBase
{
public:
    /// Leaves the rows and the database as they are.
    virtual ~TableBase();

    /// Deletes every row. The ids handed out stay used: new rows never get them again.
    bool ClearTable();
    /// The table's columns.
    const TableSchema &schema() const { return m_schema; }

protected:
    /// The table SCHEMA describes, in DATABASE's file; both must outlive it.
    TableBase(ZelDbDatabase &database, const TableSchema &schema);
    ///@{
    /// @brief Not copyable: a table belongs to one database object.
    TableBase(const TableBase &) = delete;
    TableBase &operator=(const TableBase &) = delete;
    ///@}

    /// Inserts the fields set on RECORD (a missing create date is stamped) and writes the new
    /// id back into it. An id set on RECORD is not written: the file hands out the id.
    bool insert(RecordBase &record);
    /// Fills RECORD from the row with ID; false when there is none.
    bool select(unsigned id, RecordBase &record);
    /// Fills ROW with each matching row in turn and calls COLLECT after each; false when no
    /// row matched.
    bool selectWhere(const SelectionCriteria &criteria, RecordBase &row,
                     const std::function<void()> &collect);
    /// Writes the fields set on RECORD (and stamps a missing update date, in the row only)
    /// into the row with its id; false when that row does not exist.
    bool update(const RecordBase &record);
    /// Deletes the row with ID; false when there is none.
    bool remove(unsigned id);
    /// Deletes every row that meets CRITERIA (its order is ignored); true also when none did.
    bool removeWhere(const SelectionCriteria &criteria);
    /// Inserts a record with id 0, updates any other.
    bool addOrUpdate(RecordBase &record);

private:
    enum class Access { Read, Write };

    // A prepared statement of the calling thread's connection; null after reporting why.
    QSqlQuery *prepare(const QString &sql, const char *operation, Access access);
    // The same for an insert, update or delete by id.
    WriteStatement *prepareWrite(const QString &sql, const char *operation);
    template<typename Statement> bool execute(Statement &statement, const char *operation);
    void report(const char *operation, const QSqlError &error);
    // Appends to SQL the WHERE clause of CRITERIA's conditions; false for a field not here.
    bool whereClause(const SelectionCriteria &criteria, QString &sql) const;
    // Binds the conditions' values in the order whereClause() wrote them.
    void bindConditions(const SelectionCriteria &criteria, QSqlQuery &query) const;
    void fill(const QSqlQuery &query, RecordBase &record) const;

    ZelDbDatabase &m_database;
    const TableSchema &m_schema;
};

/// Lookups, common to every table: RECORD is the table's record class, CRITERIA its
/// selection criteria. Threads, failures and copies as for TableBase.
template<typename Record, typename Criteria> class QueryTable : public TableBase
{
public:
    /// The table of RECORD in DATABASE's file. ZelDbDatabase gives out one of each table
    /// already.
    explicit QueryTable(ZelDbDatabase &database)
        : TableBase(database, Record::schema())
    { }

    /// The CREATE TABLE IF NOT EXISTS statement of the table (without its indexes).
    static QString createStatement() { return Record::schema().createStatement(); }

    /// Fills RECORD from the row with ID, every field set; false, RECORD unchanged, when there
    /// is none.
    bool Get(unsigned id, Record &record) { return select(id, record); }
    /// Replaces RECORDS with the rows CRITERIA selects, in their order; false, RECORDS empty,
    /// when no row matched.
    bool Get(QList<Record> &records, const Criteria &criteria)
    {
        records.clear();
        return ForEach(criteria, [&](const Record &row) { records.append(row); });
    }
    /// Calls VISIT with each matching row in turn, without collecting them; false when no row
    /// matched. The row is refilled for the next one: VISIT copies what it keeps.
    template<typename Visit> bool ForEach(const Criteria &criteria, Visit visit)
    {
        Record row;
        return selectWhere(criteria, row, [&] { visit(static_cast<const Record &>(row)); });
    }
};

/// A table with the full set of row operations. Threads, failures and copies as for
/// TableBase.
template<typename Record, typename Criteria> class Table : public QueryTable<Record, Criteria>
{
public:
    using QueryTable<Record, Criteria>::QueryTable;

    /// Inserts the fields set on RECORD, stamps a CreateDate not set (on RECORD too; where the
    /// table has one) and writes the new id into RECORD; an id set on RECORD is not used.
    bool Add(Record &record) { return this->insert(record); }
    /// Writes the fields set on RECORD into the row with its id and stamps an UpdateDate not
    /// set (in the row only; where the table has one); false when that row does not exist.
    bool Update(const Record &record) { return this->update(record); }
    /// Deletes the row with ID; false when there is none. Rows that refer to it stay.
    bool Delete(unsigned id) { return this->remove(id); }
    /// Deletes every row that meets CRITERIA; true also when none did.
    bool Delete(const Criteria &criteria) { return this->removeWhere(criteria); }
};

/// A table whose rows are only ever added or rewritten, never deleted one by one. Threads,
/// failures and copies as for TableBase.
template<typename Record, typename Criteria>
class AddOrUpdateTable : public QueryTable<Record, Criteria>
{
public:
    using QueryTable<Record, Criteria>::QueryTable;

    /// Adds RECORD as Table::Add() does when its id is 0, else updates its row as
    /// Table::Update() does (false when that row does not exist).
    bool AddOrUpdate(Record &record) { return this->addOrUpdate(record); }
};

} // namespace zeldb

#endif // ZELDB_TABLEBASE_H
