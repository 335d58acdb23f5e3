#include <zeldb/RecordBase_p.h>
#include <zeldb/StoredForm_p.h>
#include <zeldb/WriteStatement_p.h>

namespace zeldb {

RecordBase::RecordBase(const TableSchema &schema)
    : m_schema(&schema)
{
    construct(nullptr);
}

RecordBase::RecordBase(const RecordBase &other)
    : m_schema(other.m_schema)
    , m_set(other.m_set)
{
    construct(&other);
}

RecordBase &RecordBase::operator=(const RecordBase &other)
{
    if (this == &other)
        return *this;
    destroy();
    m_schema = other.m_schema;
    m_set = other.m_set;
    construct(&other);
    return *this;
}

RecordBase::~RecordBase()
{
    destroy();
}

void RecordBase::construct(const RecordBase *other)
{
    m_moreWords.reset(m_schema->wordCount() > HELD_WORDS ? new quint64[m_schema->wordCount()]
                                                         : nullptr);
    for (int i = 0; i < m_schema->fieldCount(); ++i) {
        switch (m_schema->field(i).type) {
        case FieldType::Text:
            new (wordAt(i)) QString(other ? *other->textAt(i) : QString());
            break;
        case FieldType::DateTime:
            new (wordAt(i)) QDateTime(other ? *other->timeAt(i) : QDateTime());
            break;
        case FieldType::Id:
        case FieldType::Unsigned:
        case FieldType::Boolean:
            *wordAt(i) = other ? *other->wordAt(i) : 0;
            break;
        }
    }
}

void RecordBase::destroy()
{
    for (int i = 0; i < m_schema->fieldCount(); ++i) {
        if (m_schema->field(i).type == FieldType::Text)
            textAt(i)->~QString();
        else if (m_schema->field(i).type == FieldType::DateTime)
            timeAt(i)->~QDateTime();
    }
}

void RecordBase::assign(int number, const QVariant &value)
{
    switch (m_schema->field(number).type) {
    case FieldType::Text:
        *textAt(number) = value.toString();
        break;
    case FieldType::DateTime:
        *timeAt(number) = value.toDateTime();
        break;
    case FieldType::Id:
    case FieldType::Unsigned:
        *wordAt(number) = value.toUInt();
        break;
    case FieldType::Boolean:
        *wordAt(number) = value.toBool() ? 1 : 0;
        break;
    }
}

int RecordBase::Count() const
{
    return m_schema->fieldCount();
}

QString RecordBase::Table() const
{
    return m_schema->tableName();
}

QString RecordBase::Field(int number) const
{
    return m_schema->hasField(number) ? m_schema->field(number).name : QString();
}

QString RecordBase::Key() const
{
    return m_schema->field(0).name;
}

bool RecordBase::IsEmpty() const
{
    return m_set == 0;
}

QString RecordBase::EntityName() const
{
    return m_schema->entityName();
}

QString RecordBase::ToXml() const
{
    QDomDocument document;
    document.appendChild(GetDom(document));
    return document.toString();
}

QDomElement RecordBase::GetDom(QDomDocument &document) const
{
    QDomElement element = document.createElement(EntityName());
    for (int i = 0; i < Count(); ++i) {
        QDomElement field = document.createElement(Field(i));
        const QString valueText = m_schema->field(i).type == FieldType::DateTime
            ? timeAt(i)->toString(Qt::ISODateWithMs)
            : Value(i).toString();
        field.appendChild(document.createTextNode(valueText));
        element.appendChild(field);
    }
    return element;
}

bool RecordBase::SetValue(int number, const QVariant &value)
{
    if (!m_schema->hasField(number))
        return false;
    assign(number, value);
    m_set |= quint64(1) << number;
    return true;
}

QVariant RecordBase::Value(int number) const
{
    if (!m_schema->hasField(number))
        return QVariant();
    switch (m_schema->field(number).type) {
    case FieldType::Text:
        return QVariant(text(number));
    case FieldType::DateTime:
        return QVariant(dateTime(number));
    case FieldType::Id:
    case FieldType::Unsigned:
        return QVariant(this->number(number));
    case FieldType::Boolean:
        return QVariant(flag(number));
    }
    return QVariant();
}

bool RecordBase::IsFieldSet(int number) const
{
    return m_schema->hasField(number) && (m_set >> number) & 1;
}

unsigned RecordBase::Id() const
{
    return number(0);
}

void RecordBase::setId(unsigned id)
{
    // Field 0 is the id, one word: set for every row a table writes or reads.
    *wordAt(0) = id;
    m_set |= 1;
}

void RecordBase::Storage::bind(const RecordBase &record, int number, WriteStatement &statement,
                               int position)
{
    switch (record.m_schema->field(number).type) {
    case FieldType::Text:
        statement.bindText(position, *record.textAt(number));
        return;
    case FieldType::DateTime: {
        const QDateTime &dateTime = *record.timeAt(number);
        if (dateTime.isValid())
            statement.bindText(position, storedForm(dateTime));
        else
            statement.bindNull(position);
        return;
    }
    case FieldType::Id:
    case FieldType::Unsigned:
        statement.bindNumber(position, qint64(record.number(number)));
        return;
    case FieldType::Boolean:
        statement.bindNumber(position, record.flag(number) ? 1 : 0);
        return;
    }
}

} // namespace zeldb
