#include <zeldb/RecordBase.h>

namespace zeldb {

namespace {

QVariant emptyValue(FieldType type)
{
    switch (type) {
    case FieldType::Id:
    case FieldType::Unsigned:
        return QVariant(0u);
    case FieldType::Boolean:
        return QVariant(false);
    case FieldType::Text:
        return QVariant(QString());
    case FieldType::DateTime:
        return QVariant(QDateTime());
    }
    return QVariant();
}

QVariant normalised(FieldType type, const QVariant &value)
{
    switch (type) {
    case FieldType::Id:
    case FieldType::Unsigned:
        return QVariant(value.toUInt());
    case FieldType::Boolean:
        return QVariant(value.toBool());
    case FieldType::Text:
        return QVariant(value.toString());
    case FieldType::DateTime:
        return QVariant(value.toDateTime());
    }
    return value;
}

} // namespace

RecordBase::RecordBase(const TableSchema &schema)
    : m_schema(&schema)
    , m_values(schema.fieldCount())
{
    for (int i = 0; i < schema.fieldCount(); ++i)
        m_values[i] = emptyValue(schema.field(i).type);
}

RecordBase::~RecordBase() = default;

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
        const QVariant value = m_values.at(i);
        const QString valueText = value.userType() == QMetaType::QDateTime
            ? value.toDateTime().toString(Qt::ISODateWithMs)
            : value.toString();
        field.appendChild(document.createTextNode(valueText));
        element.appendChild(field);
    }
    return element;
}

bool RecordBase::SetValue(int number, const QVariant &value)
{
    if (!m_schema->hasField(number))
        return false;
    m_values[number] = normalised(m_schema->field(number).type, value);
    m_set |= quint64(1) << number;
    return true;
}

QVariant RecordBase::Value(int number) const
{
    return m_schema->hasField(number) ? m_values.at(number) : QVariant();
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
    SetValue(0, id);
}

} // namespace zeldb
