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

// One row of a table. A record knows which of its fields were set on it: Update writes
// exactly those, so a partial record never overwrites the other columns of its row.
// A record filled by Get counts every field as set.
class ZELDB_EXPORT RecordBase
{
public:
    virtual ~RecordBase();

    virtual int Count() const;
    virtual QString Table() const;
    virtual QString Field(int number) const;
    virtual QString Key() const;
    // True while neither the id nor any other field has been set.
    virtual bool IsEmpty() const;
    virtual QString EntityName() const;
    virtual QString ToXml() const;
    virtual QDomElement GetDom(QDomDocument &document) const;

    // Sets field NUMBER (0 is the id); false for a number the table does not have.
    bool SetValue(int number, const QVariant &value);
    QVariant Value(int number) const;
    bool IsFieldSet(int number) const;

    unsigned Id() const;
    void setId(unsigned id);

protected:
    explicit RecordBase(const TableSchema &schema);
    RecordBase(const RecordBase &) = default;
    RecordBase &operator=(const RecordBase &) = default;

    QString text(int number) const { return m_values.at(number).toString(); }
    unsigned number(int number) const { return m_values.at(number).toUInt(); }
    bool flag(int number) const { return m_values.at(number).toBool(); }
    QDateTime dateTime(int number) const { return m_values.at(number).toDateTime(); }

public:
    // What the tables reach of a record, through the store's private header.
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
