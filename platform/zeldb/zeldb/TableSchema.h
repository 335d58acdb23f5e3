#ifndef ZELDB_TABLESCHEMA_H
#define ZELDB_TABLESCHEMA_H

#include <zeldb/zeldb_export.h>

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <initializer_list>

namespace zeldb {

// How a field is stored. Every table's field 0 is its Id.
enum class FieldType { Id, Unsigned, Boolean, Text, DateTime };

struct FieldDefinition
{
    int number; // the record's field number, which must equal the position in the schema
    QString name;
    FieldType type;
    bool indexed; // a selection criterion filters on it
};

// One column of a record's schema, written inside the record class: NAME is both the column
// and the field-number enumerator Field<NAME>, so the two cannot drift apart.
#define ZELDB_FIELD(name, type, indexed)                                                           \
    {                                                                                              \
        Field##name, QStringLiteral(#name), zeldb::FieldType::type, indexed                        \
    }

// The columns of one table in field-number order: the single place that knows a table's
// layout, from which the SQL follows. The records' field numbers are checked against it.
class ZELDB_EXPORT TableSchema
{
public:
    // Stops the program when a field stands at another position than its number: records
    // would silently read and write the wrong columns of stored files.
    TableSchema(const QString &tableName, const QString &entityName,
                std::initializer_list<FieldDefinition> fields);

    const QString &tableName() const { return m_tableName; }
    const QString &entityName() const { return m_entityName; }
    int fieldCount() const { return m_fields.size(); }
    const FieldDefinition &field(int number) const { return m_fields.at(number); }
    bool hasField(int number) const { return number >= 0 && number < m_fields.size(); }
    // Number of the field named so, or -1.
    int fieldNumber(const QString &name) const;

    QString createStatement() const;
    QStringList indexStatements() const;
    // The statements whose text does not depend on the record, built once.
    const QString &selectAllStatement() const { return m_selectAll; }
    const QString &selectByIdStatement() const { return m_selectById; }
    const QString &deleteByIdStatement() const { return m_deleteById; }
    const QString &clearStatement() const { return m_clear; }
    // The insert statement for the fields in FIELDS (bit N: field N, never the id), built
    // once per thread and set of fields: a device's details are inserted one after another,
    // each with the same fields.
    QString insertStatement(quint64 fields) const;

    // The stored form of a value of the given field, and back. Text is never stored as
    // NULL, so an empty value reads back as an empty (not a missing) string.
    QVariant toStorage(int number, const QVariant &value) const;
    QVariant fromStorage(int number, const QVariant &stored) const;

private:
    QString m_tableName;
    QString m_entityName;
    QVector<FieldDefinition> m_fields;
    QString m_selectAll;
    QString m_selectById;
    QString m_deleteById;
    QString m_clear;
};

} // namespace zeldb

#endif // ZELDB_TABLESCHEMA_H
