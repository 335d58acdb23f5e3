#ifndef ZELDB_TABLESCHEMA_H
#define ZELDB_TABLESCHEMA_H

#include <zeldb/zeldb_export.h>

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <initializer_list>

namespace zeldb {

/// @enum FieldType
/// How a field is stored. Every table's field 0 is its Id.
/// @var FieldType::Id
/// The row's id: INTEGER PRIMARY KEY AUTOINCREMENT, never handed out twice; read as unsigned.
/// @var FieldType::Unsigned
/// An unsigned number: INTEGER NOT NULL DEFAULT 0.
/// @var FieldType::Boolean
/// A flag: INTEGER NOT NULL DEFAULT 0, stored as 0 or 1.
/// @var FieldType::Text
/// A text: TEXT NOT NULL DEFAULT ''. Never stored as NULL: an empty value reads back empty.
/// @var FieldType::DateTime
/// A time: TEXT in ISO 8601 with milliseconds (a local time without an offset, any other
/// with its own); an invalid QDateTime is stored as NULL and reads back invalid.
enum class FieldType { Id, Unsigned, Boolean, Text, DateTime };

/// One column of a TableSchema. A plain value: copies are independent.
struct FieldDefinition
{
    /// The record's field number of the column, equal to its position in the schema.
    int number; // the record's field number, which must equal the position in the schema
    /// The column's name, also its element name in RecordBase::GetDom().
    QString name;
    /// How the column is stored.
    FieldType type;
    /// Whether the column has an index of its own, for the selection criteria that filter on
    /// it (see TableSchema::indexStatements()).
    bool indexed; // a selection criterion filters on it
};

/// One column of a record's schema, written inside the record class: NAME is both the column
/// and the field-number enumerator Field<NAME>, so the two cannot drift apart.
#define ZELDB_FIELD(name, type, indexed)                                                           \
    {                                                                                              \
        Field##name, QStringLiteral(#name), zeldb::FieldType::type, indexed                        \
    }

/// The columns of one table in field-number order: the single place that knows a table's
/// layout, from which the SQL follows. The records' field numbers are checked against it.
///
/// Each record class has one, from its static schema(), made on first use and never destroyed:
/// a record frees its values by its schema, and records held by the library's singletons
/// outlive the function statics at exit. A schema does not change once made, so any thread may
/// use it; the statements it builds per thread are kept per thread. Copies are independent.
class ZELDB_EXPORT TableSchema
{
public:
    /// Stops the program when a field stands at another position than its number: records
    /// would silently read and write the wrong columns of stored files. Stops it too for more
    /// than 64 fields, as many as a record can mark set.
    TableSchema(const QString &tableName, const QString &entityName,
                std::initializer_list<FieldDefinition> fields);

    /// The SQL table's name, as RecordBase::Table() gives it.
    const QString &tableName() const { return m_tableName; }
    /// The name of one row, the element name of RecordBase::GetDom().
    const QString &entityName() const { return m_entityName; }
    /// The number of fields, the id included.
    int fieldCount() const { return m_fields.size(); }
    /// The field with NUMBER, which must be one the schema has (see hasField()).
    const FieldDefinition &field(int number) const { return m_fields.at(number); }
    /// Whether NUMBER is a field of this schema: 0 up to fieldCount() - 1.
    bool hasField(int number) const { return number >= 0 && number < m_fields.size(); }
    /// Number of the field named so (exactly, letter case included), or -1.
    int fieldNumber(const QString &name) const;
    /// Where a record keeps field NUMBER: its first 64-bit word. A text takes as many words as
    /// a QString, every other type one.
    int wordOf(int number) const { return m_wordOf.at(number); }
    /// The 64-bit words a record of this schema keeps its values in.
    int wordCount() const { return m_wordCount; }

    /// CREATE TABLE IF NOT EXISTS for the table, with each column's type and default.
    QString createStatement() const;
    /// CREATE INDEX IF NOT EXISTS for each indexed field, in field order; empty when none is.
    QStringList indexStatements() const;
    ///@{
    /// @brief The statements whose text does not depend on the record, built once: SELECT of
    /// every column (without a condition), SELECT and DELETE of the row with the id bound as
    /// the one parameter, and DELETE of every row.
    const QString &selectAllStatement() const { return m_selectAll; }
    const QString &selectByIdStatement() const { return m_selectById; }
    const QString &deleteByIdStatement() const { return m_deleteById; }
    const QString &clearStatement() const { return m_clear; }
    ///@}
    /// The insert statement for the fields in FIELDS (bit N: field N, never the id), built
    /// once per thread and set of fields: a device's details are inserted one after another,
    /// each with the same fields. No fields: INSERT ... DEFAULT VALUES.
    QString insertStatement(quint64 fields) const;
    /// The update statement for the fields in FIELDS, in field order, with the row's id bound
    /// last; built once per thread and set of fields, as the insert statement is. No fields: a
    /// statement that writes nothing but still finds the row.
    QString updateStatement(quint64 fields) const;

    ///@{
    /// @brief The stored form of a value of the given field, and back.
    ///
    /// Text is never stored as NULL, so an empty value reads back as an empty (not a missing)
    /// string. NUMBER must be a field of the schema.
    QVariant toStorage(int number, const QVariant &value) const;
    QVariant fromStorage(int number, const QVariant &stored) const;
    ///@}

private:
    QString m_tableName;
    QString m_entityName;
    QVector<FieldDefinition> m_fields;
    QVector<int> m_wordOf;
    int m_wordCount = 0;
    QString m_selectAll;
    QString m_selectById;
    QString m_deleteById;
    QString m_clear;
};

} // namespace zeldb

#endif // ZELDB_TABLESCHEMA_H
