#ifndef ZELDB_RECORDBASE_H
#define ZELDB_RECORDBASE_H

#include <zeldb/TableSchema.h>
#include <zeldb/zeldb_export.h>

#include <QDateTime>
#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <QVarLengthArray>
#include <QVariant>

namespace zeldb {

/// One row of a table. A record knows which of its fields were set on it: Update writes
/// exactly those, so a partial record never overwrites the other columns of its row.
/// A record filled by Get counts every field as set.
///
/// Each table has its record class, with a FieldNumber enumeration and a getter and setter
/// per field; a field not set reads as its type's empty value (0, false, empty text, invalid
/// time). A record is a plain value with no locking: use one object on one thread at a time.
/// Copies are independent; they share only the table's schema, which never changes.
class ZELDB_EXPORT RecordBase
{
public:
    /// Destroys the values.
    virtual ~RecordBase();

    /// The number of fields, the id included.
    virtual int Count() const;
    /// The name of the record's table.
    virtual QString Table() const;
    /// The name of field NUMBER; empty for a number the table does not have.
    virtual QString Field(int number) const;
    /// The name of the id field, field 0.
    virtual QString Key() const;
    /// True while neither the id nor any other field has been set.
    virtual bool IsEmpty() const;
    /// The name of one row of the table, the element name of GetDom().
    virtual QString EntityName() const;
    /// The record as the text of an XML document holding GetDom()'s element.
    virtual QString ToXml() const;
    /// An element named EntityName() in DOCUMENT, not yet inserted, with one child element
    /// per field in field order, named after it and holding its value as text (a time in
    /// ISO 8601 with milliseconds, an invalid one empty). Fields not set give their empty value.
    virtual QDomElement GetDom(QDomDocument &document) const;

    /// Sets field NUMBER (0 is the id), converted to the field's type; false for a number the
    /// table does not have.
    bool SetValue(int number, const QVariant &value);
    /// The value of field NUMBER, of the field's type; an invalid QVariant for a number the
    /// table does not have.
    QVariant Value(int number) const;
    /// Whether field NUMBER was set on this record or filled by Get; false for a number the
    /// table does not have.
    bool IsFieldSet(int number) const;

    ///@{
    /// @brief The row's id, field 0: 0 until it is set or the record is added or read.
    unsigned Id() const;
    void setId(unsigned id);
    ///@}

protected:
    /// A record of the table SCHEMA describes, with no field set. SCHEMA must outlive it.
    explicit RecordBase(const TableSchema &schema);
    ///@{
    /// @brief Copies the values and which fields are set.
    RecordBase(const RecordBase &) = default;
    RecordBase &operator=(const RecordBase &) = default;
    ///@}

    ///@{
    /// @brief The value of field NUMBER, for a record's typed getters; NUMBER must be one of
    /// the table's fields, of the getter's type.
    QString text(int number) const { return m_values.at(number).toString(); }
    unsigned number(int number) const { return m_values.at(number).toUInt(); }
    bool flag(int number) const { return m_values.at(number).toBool(); }
    QDateTime dateTime(int number) const { return m_values.at(number).toDateTime(); }
    ///@}

public:
    /// What the tables reach of a record, through the store's private header.
    class Storage;

private:
    const TableSchema *m_schema;
    // Held in the record up to six fields, a detail's count: every detail of every loaded
    // device is a record, and a block of its own for the values cost an allocation each.
    QVarLengthArray<QVariant, 6> m_values;
    // Bit N: field N was set. A bit set rather than a vector: every detail of every loaded
    // device is a record. TableSchema allows at most 64 fields.
    quint64 m_set = 0;
};

} // namespace zeldb

#endif // ZELDB_RECORDBASE_H
