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
    QString name;
    FieldType type;
    bool indexed; // a selection criterion filters on it
};

// The columns of one table in field-number order: the single place that knows a table's
// layout, from which the SQL and the records' field numbers both follow.
class ZELDB_EXPORT TableSchema
{
public:
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
    // All columns in field order, for SELECT lists.
    QString columnList() const;

    // The stored form of a value of the given field, and back. Text is never stored as
    // NULL, so an empty value reads back as an empty (not a missing) string.
    QVariant toStorage(int number, const QVariant &value) const;
    QVariant fromStorage(int number, const QVariant &stored) const;

private:
    QString m_tableName;
    QString m_entityName;
    QVector<FieldDefinition> m_fields;
};

} // namespace zeldb

#endif // ZELDB_TABLESCHEMA_H
