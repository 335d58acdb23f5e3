#include <zelscan/names/DnsMessage_p.h>

#include <utility>

namespace zelscan {
namespace dns {

namespace {

constexpr int HEADER_BYTES = 12;
constexpr int MIN_QUESTION_BYTES = 5; // the root name, type and class
constexpr int MIN_RECORD_BYTES = 11; // the root name, type, class, ttl and data length
constexpr quint16 FLAG_RESPONSE = 0x8000;
constexpr quint16 CLASS_MASK = 0x7fff; // without the cache-flush or unicast-response bit

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(const QByteArray &bytes)
{
    const int size = bytes.size();
    int i = 0;
    while (i < size) {
        const uchar c = uchar(bytes.at(i));
        int extra = 0;
        uint codePoint = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xc2 && c <= 0xdf) {
            extra = 1;
            codePoint = c & 0x1f;
        } else if (c >= 0xe0 && c <= 0xef) {
            extra = 2;
            codePoint = c & 0x0f;
        } else if (c >= 0xf0 && c <= 0xf4) {
            extra = 3;
            codePoint = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= size)
            return false;
        for (int k = 1; k <= extra; ++k) {
            const uchar next = uchar(bytes.at(i + k));
            if ((next & 0xc0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3f);
        }
        const uint minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
        if (codePoint < minimum || codePoint > 0x10ffff
            || (codePoint >= 0xd800 && codePoint <= 0xdfff))
            return false;
        i += extra + 1;
    }
    return true;
}

struct Name
{
    QStringList labels;
    QString problem; // why the name is not clean text, or empty
};

class Reader
{
public:
    explicit Reader(const QByteArray &data)
        : m_data(reinterpret_cast<const uchar *>(data.constData()))
        , m_size(data.size())
    { }

    bool failed() const { return !m_error.isEmpty(); }
    QString error() const { return m_error; }
    int position() const { return m_position; }

    bool fail(const QString &error)
    {
        if (m_error.isEmpty())
            m_error = error;
        return false;
    }

    bool has(int bytes) const { return bytes <= m_size - m_position; }

    quint16 u16()
    {
        if (!has(2)) {
            fail(QStringLiteral("truncated message"));
            return 0;
        }
        const quint16 value = quint16((m_data[m_position] << 8) | m_data[m_position + 1]);
        m_position += 2;
        return value;
    }

    quint32 u32()
    {
        const quint32 high = u16();
        return (high << 16) | u16();
    }

    void skip(int bytes)
    {
        if (!has(bytes))
            fail(QStringLiteral("truncated message"));
        else
            m_position += bytes;
    }

    // Reads the name at the position and moves past it. A pointer may only lead before the
    // place the previous one led to, so a name can never loop; the jump bound keeps long
    // chains cheap.
    Name name()
    {
        Name result;
        QList<QByteArray> labels;
        int at = m_position;
        int end = -1;
        int wireBytes = 1;
        int jumps = 0;
        int floor = at; // each jump lands before the last, so a name can never loop
        for (;;) {
            if (at >= m_size) {
                fail(QStringLiteral("truncated message"));
                return result;
            }
            const uchar length = m_data[at];
            if ((length & 0xc0) == 0xc0) {
                if (at + 1 >= m_size) {
                    fail(QStringLiteral("truncated message"));
                    return result;
                }
                const int target = ((length & 0x3f) << 8) | m_data[at + 1];
                if (target >= floor) {
                    fail(QStringLiteral("compression pointer not pointing backwards"));
                    return result;
                }
                if (++jumps > MAX_POINTER_JUMPS) {
                    fail(QStringLiteral("more than %1 compression pointers in a name")
                             .arg(MAX_POINTER_JUMPS));
                    return result;
                }
                if (end < 0)
                    end = at + 2;
                floor = target;
                at = target;
                continue;
            }
            if (length > MAX_LABEL_BYTES) {
                fail(QStringLiteral("label over %1 bytes").arg(MAX_LABEL_BYTES));
                return result;
            }
            if (length == 0) {
                if (end < 0)
                    end = at + 1;
                break;
            }
            if (length >= m_size - at) {
                fail(QStringLiteral("truncated message"));
                return result;
            }
            wireBytes += length + 1;
            if (wireBytes > MAX_NAME_BYTES) {
                fail(QStringLiteral("name over %1 bytes").arg(MAX_NAME_BYTES));
                return result;
            }
            labels.append(QByteArray(reinterpret_cast<const char *>(m_data + at + 1), length));
            at += length + 1;
        }
        m_position = end;

        for (const QByteArray &label : std::as_const(labels)) {
            if (!isValidUtf8(label)) {
                result.problem = QStringLiteral("name not in UTF-8");
                break;
            }
            const QString text = QString::fromUtf8(label);
            for (const QChar c : text) {
                if (c.category() == QChar::Other_Control) {
                    result.problem = QStringLiteral("name with control characters");
                    break;
                }
            }
            if (!result.problem.isEmpty())
                break;
            result.labels.append(text);
        }
        if (result.problem.isEmpty() && nameText(result.labels).size() > MAX_NAME_CHARACTERS)
            result.problem = QStringLiteral("name over %1 characters").arg(MAX_NAME_CHARACTERS);
        if (!result.problem.isEmpty())
            result.labels.clear();
        return result;
    }

    void moveTo(int position) { m_position = position; }

private:
    const uchar *m_data;
    int m_size;
    int m_position = 0;
    QString m_error;
};

Message refuse(const QString &reason)
{
    Message message;
    message.refusal = reason;
    return message;
}

} // namespace

Message parse(const QByteArray &data, int maxRecords)
{
    if (data.size() > MAX_MESSAGE_BYTES)
        return refuse(QStringLiteral("message over %1 bytes").arg(MAX_MESSAGE_BYTES));
    if (data.size() < HEADER_BYTES)
        return refuse(QStringLiteral("truncated message"));

    Reader reader(data);
    Message message;
    reader.u16(); // id
    message.response = (reader.u16() & FLAG_RESPONSE) != 0;
    const qint64 questions = reader.u16();
    const qint64 records = qint64(reader.u16()) + reader.u16() + reader.u16();
    if (questions * MIN_QUESTION_BYTES + records * MIN_RECORD_BYTES > data.size() - HEADER_BYTES)
        return refuse(QStringLiteral("record counts larger than the message"));

    for (qint64 i = 0; i < questions && !reader.failed(); ++i) {
        reader.name();
        reader.skip(4);
    }
    for (qint64 i = 0; i < records && !reader.failed(); ++i) {
        if (i >= maxRecords) {
            message.limited = true;
            break;
        }
        Record record;
        Name owner = reader.name();
        record.type = reader.u16();
        const quint16 recordClass = reader.u16() & CLASS_MASK;
        reader.u32(); // ttl
        const int dataLength = reader.u16();
        if (reader.failed())
            break;
        if (!reader.has(dataLength)) {
            reader.fail(QStringLiteral("truncated message"));
            break;
        }
        const int dataEnd = reader.position() + dataLength;
        QString problem = owner.problem;
        bool wanted = recordClass == CLASS_IN;
        if (wanted && record.type == TYPE_A) {
            if (dataLength != 4)
                reader.fail(QStringLiteral("address record of %1 bytes").arg(dataLength));
            record.ipv4 = reader.u32();
        } else if (wanted && (record.type == TYPE_PTR || record.type == TYPE_SRV)) {
            if (record.type == TYPE_SRV) {
                reader.skip(4); // priority and weight
                record.port = reader.u16();
            }
            const Name target = reader.name();
            record.target = target.labels;
            if (problem.isEmpty())
                problem = target.problem;
            if (reader.position() != dataEnd)
                reader.fail(QStringLiteral("record data of the wrong length"));
        } else {
            wanted = false;
        }
        reader.moveTo(dataEnd);
        if (reader.failed() || !wanted)
            continue;
        if (!problem.isEmpty()) {
            if (message.dropped.isEmpty())
                message.dropped = problem;
            continue;
        }
        record.name = owner.labels;
        message.records.append(record);
    }
    if (reader.failed())
        return refuse(reader.error());
    return message;
}

QByteArray query(const QList<QStringList> &names, quint16 type, bool unicastResponse)
{
    QByteArray data(HEADER_BYTES, '\0');
    data[4] = char(names.size() >> 8);
    data[5] = char(names.size() & 0xff);
    const quint16 questionClass = CLASS_IN | (unicastResponse ? 0x8000 : 0);
    for (const QStringList &name : names) {
        for (const QString &label : name) {
            const QByteArray bytes = label.toUtf8();
            data.append(char(bytes.size()));
            data.append(bytes);
        }
        data.append('\0');
        data.append(char(type >> 8));
        data.append(char(type & 0xff));
        data.append(char(questionClass >> 8));
        data.append(char(questionClass & 0xff));
    }
    return data;
}

QString nameText(const QStringList &labels)
{
    return labels.join(QLatin1Char('.'));
}

} // namespace dns
} // namespace zelscan
