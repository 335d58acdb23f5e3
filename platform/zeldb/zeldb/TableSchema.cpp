#include <zeldb/StoredForm_p.h>
#include <zeldb/TableSchema.h>
#include <zeldb/ThreadConnections_p.h>

#include <QDateTime>
#include <QHash>
#include <QPair>

namespace zeldb {

namespace {

// The form the store writes, "2026-12-07T23:28:00.123", read directly: the general ISO
// parser took most of the time a map's load spends on dates. Any other text goes to it.
QDateTime parseStoredForm(const QString &text)
{
    static const char form[] = "dddd-dd-ddTdd:dd:dd.ddd";
    const int length = int(sizeof(form)) - 1;
    int fields[7] = {};
    int field = 0;
    bool matches = text.size() == length;
    for (int i = 0; matches && i < length; ++i) {
        const ushort unit = text.at(i).unicode();
        if (form[i] == 'd') {
            matches = unit >= '0' && unit <= '9';
            fields[field] = fields[field] * 10 + (unit - '0');
        } else {
            matches = unit == ushort(form[i]);
            ++field;
        }
    }
    if (matches) {
        const QDate date(fields[0], fields[1], fields[2]);
        const QTime time(fields[3], fields[4], fields[5], fields[6]);
        if (date.isValid() && time.isValid())
            return QDateTime(date, time);
    }
    return QDateTime::fromString(text, Qt::ISODateWithMs);
}

QDateTime parseDateTime(const QString &text)
{
    ThreadConnections::Texts &texts = ThreadConnections::current().texts();
    if (text != texts.parsedText) {
        texts.parsedValue = parseStoredForm(text);
        texts.parsedText = text;
    }
    return texts.parsedValue;
}

// A missing text is the empty one. The string itself decides: a variant holding a null
// string is null in Qt 5 but not in Qt 6, where binding it would store NULL.
QString textOf(const QVariant &value)
{
    const QString text = value.toString();
    return text.isNull() ? QString(QLatin1String("")) : text;
}

} // namespace

QString storedForm(const QDateTime &dateTime)
{
    if (dateTime.timeSpec() != Qt::LocalTime)
        return dateTime.toString(Qt::ISODateWithMs);
    // A local time's text is its date and time alone. Those are read without the time zone's
    // rules, which comparing two local times asks under Qt 6.
    ThreadConnections::Texts &texts = ThreadConnections::current().texts();
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    if (date != texts.formattedDate || time != texts.formattedTime) {
        texts.formattedText = dateTime.toString(Qt::ISODateWithMs);
        texts.formattedDate = date;
        texts.formattedTime = time;
    }
    return texts.formattedText;
}

// The words a QString takes in a record: one under Qt 5, three under Qt 6. A QDateTime takes
// one under both.
constexpr int TEXT_WORDS = int(sizeof(QString) / sizeof(quint64));
static_assert(sizeof(QString) % sizeof(quint64) == 0 && sizeof(QDateTime) == sizeof(quint64),
              "a record keeps its values in 64-bit words");

TableSchema::TableSchema(const QString &tableName, const QString &entityName,
                         std::initializer_list<FieldDefinition> fields)
    : m_tableName(tableName)
    , m_entityName(entityName)
    , m_fields(fields)
{
    // A record marks its set fields in 64 bits.
    if (m_fields.size() > 64)
        qFatal("TableSchema: table %s has more than 64 fields", qPrintable(tableName));
    QStringList columns;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).number != i)
            qFatal("TableSchema: field %s of table %s stands at position %d, not at its number %d",
                   qPrintable(m_fields.at(i).name), qPrintable(tableName), i,
                   m_fields.at(i).number);
        columns << m_fields.at(i).name;
        m_wordOf.append(m_wordCount);
        m_wordCount += m_fields.at(i).type == FieldType::Text ? TEXT_WORDS : 1;
    }
    const QString &id = m_fields.at(0).name;
    m_selectAll = QLatin1String("SELECT ") % columns.join(QLatin1String(", "))
        % QLatin1String(" FROM ") % m_tableName;
    m_selectById = m_selectAll % QLatin1String(" WHERE ") % id % QLatin1String(" = ?");
    m_deleteById = QLatin1String("DELETE FROM ") % m_tableName % QLatin1String(" WHERE ") % id
        % QLatin1String(" = ?");
    m_clear = QLatin1String("DELETE FROM ") % m_tableName;
}

int TableSchema::fieldNumber(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).name == name)
            return i;
    }
    return -1;
}

QString TableSchema::createStatement() const
{
    QStringList columns;
    for (const FieldDefinition &field : m_fields) {
        switch (field.type) {
        case FieldType::Id:
            // AUTOINCREMENT: an id is never handed out twice, not even after the newest row
            // was deleted, so rows that refer to a deleted one never attach to a new one.
            columns << field.name + QLatin1String(" INTEGER PRIMARY KEY AUTOINCREMENT");
            break;
        case FieldType::Unsigned:
        case FieldType::Boolean:
            columns << field.name + QLatin1String(" INTEGER NOT NULL DEFAULT 0");
            break;
        case FieldType::Text:
            columns << field.name + QLatin1String(" TEXT NOT NULL DEFAULT ''");
            break;
        case FieldType::DateTime:
            columns << field.name + QLatin1String(" TEXT");
            break;
        }
    }
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
        .arg(m_tableName, columns.join(QLatin1String(", ")));
}

QString TableSchema::insertStatement(quint64 fields) const
{
    QString &sql = ThreadConnections::current().texts().insertStatements[qMakePair(this, fields)];
    if (!sql.isNull())
        return sql;
    QStringList columns;
    QStringList placeholders;
    for (int i = 1; i < m_fields.size(); ++i) {
        if (fields & (quint64(1) << i)) {
            columns << m_fields.at(i).name;
            placeholders << QStringLiteral("?");
        }
    }
    sql = columns.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_tableName)
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(m_tableName, columns.join(QLatin1String(", ")),
                                       placeholders.join(QLatin1String(", ")));
    return sql;
}

QString TableSchema::updateStatement(quint64 fields) const
{
    QString &sql = ThreadConnections::current().texts().updateStatements[qMakePair(this, fields)];
    if (!sql.isNull())
        return sql;
    QStringList assignments;
    for (int i = 1; i < m_fields.size(); ++i) {
        if (fields & (quint64(1) << i))
            assignments << m_fields.at(i).name + QLatin1String(" = ?");
    }
    if (assignments.isEmpty())
        assignments << m_fields.at(0).name + QLatin1String(" = ") + m_fields.at(0).name;
    sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
              .arg(m_tableName, assignments.join(QLatin1String(", ")), m_fields.at(0).name);
    return sql;
}

QStringList TableSchema::indexStatements() const
{
    QStringList statements;
    for (const FieldDefinition &field : m_fields) {
        if (field.indexed) {
            statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1_%2 ON %1 (%2)")
                              .arg(m_tableName, field.name);
        }
    }
    return statements;
}

QVariant TableSchema::toStorage(int number, const QVariant &value) const
{
    switch (m_fields.at(number).type) {
    case FieldType::Id:
    case FieldType::Unsigned:
        return QVariant(value.toLongLong());
    case FieldType::Boolean:
        return QVariant(value.toBool() ? 1 : 0);
    case FieldType::Text:
        return QVariant(textOf(value));
    case FieldType::DateTime: {
        // No time is SQL NULL: an invalid QVariant binds as NULL under either Qt major.
        const QDateTime dateTime = value.toDateTime();
        return dateTime.isValid() ? QVariant(storedForm(dateTime)) : QVariant();
    }
    }
    return value;
}

QVariant TableSchema::fromStorage(int number, const QVariant &stored) const
{
    switch (m_fields.at(number).type) {
    case FieldType::Id:
    case FieldType::Unsigned:
        return QVariant(stored.toUInt());
    case FieldType::Boolean:
        return QVariant(stored.toLongLong() != 0);
    case FieldType::Text:
        return QVariant(textOf(stored));
    case FieldType::DateTime:
        return stored.isNull() ? QVariant(QDateTime()) : QVariant(parseDateTime(stored.toString()));
    }
    return stored;
}

} // namespace zeldb
