#ifndef ZELDB_RECORDBASE_H
#define ZELDB_RECORDBASE_H

#include <zeldb/TableSchema.h>
#include <zeldb/zeldb_export.h>

#include <QDateTime>
#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <QVariant>

#include <memory>
#include <new>

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
    RecordBase(const RecordBase &other);
    RecordBase &operator=(const RecordBase &other);
    ///@}

    ///@{
    /// @brief The value of field NUMBER, for a record's typed getters; NUMBER must be one of
    /// the table's fields, of the getter's type.
    QString text(int number) const { return *textAt(number); }
    unsigned number(int number) const { return unsigned(*wordAt(number)); }
    bool flag(int number) const { return *wordAt(number) != 0; }
    QDateTime dateTime(int number) const { return *timeAt(number); }
    ///@}

public:
    /// What the tables reach of a record, through the store's private header.
    class Storage;

private:
    // Field NUMBER's words, as its type keeps them.
    const quint64 *wordAt(int number) const
    {
        return (m_moreWords ? m_moreWords.get() : m_words) + m_schema->wordOf(number);
    }
    quint64 *wordAt(int number)
    {
        return (m_moreWords ? m_moreWords.get() : m_words) + m_schema->wordOf(number);
    }
    const QString *textAt(int number) const
    {
        return std::launder(reinterpret_cast<const QString *>(wordAt(number)));
    }
    QString *textAt(int number)
    {
        return std::launder(reinterpret_cast<QString *>(wordAt(number)));
    }
    const QDateTime *timeAt(int number) const
    {
        return std::launder(reinterpret_cast<const QDateTime *>(wordAt(number)));
    }
    QDateTime *timeAt(int number)
    {
        return std::launder(reinterpret_cast<QDateTime *>(wordAt(number)));
    }
    // Makes room for the schema's words and every field's value, empty or a copy of OTHER's;
    // destroys the values.
    void construct(const RecordBase *other);
    void destroy();
    // Field NUMBER takes VALUE, converted to the field's type.
    void assign(int number, const QVariant &value);

    const TableSchema *m_schema;
    // Each field in the 64-bit words its schema gives it: a number or a flag in one, a time in
    // one (a QDateTime), a text in a QString's worth. Every detail of every loaded device is a
    // record: a QVariant per field took twice the room under Qt 6, and a block of its own an
    // allocation; a detail's six fields fit in the eight words held in the record. A larger
    // record keeps its words in MORE_WORDS instead: a QVarLengthArray's counts took two words
    // more of every detail under Qt 6.
    static constexpr int HELD_WORDS = 8;
    quint64 m_words[HELD_WORDS];
    std::unique_ptr<quint64[]> m_moreWords;
    // Bit N: field N was set. A bit set rather than a vector: every detail of every loaded
    // device is a record. TableSchema allows at most 64 fields.
    quint64 m_set = 0;
};

} // namespace zeldb

#endif // ZELDB_RECORDBASE_H
