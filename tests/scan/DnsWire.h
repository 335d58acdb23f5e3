#ifndef ZELTEST_DNSWIRE_H
#define ZELTEST_DNSWIRE_H

#include <QByteArray>
#include <QList>

// Builders of DNS messages byte by byte, for answers both right and wrong.
struct DnsWire
{
    static QByteArray u16(int value) { return QByteArray(1, char(value >> 8)) + char(value); }
    static QByteArray ipv4(int a, int b, int c, int d)
    {
        return QByteArray(1, char(a)) + char(b) + char(c) + char(d);
    }
    // A response (or a query, flags 0) with the given counts.
    static QByteArray header(int answers, int questions = 0, int flags = 0x8400)
    {
        return u16(0) + u16(flags) + u16(questions) + u16(answers) + u16(0) + u16(0);
    }
    // Labels, then either the root or a pointer to @p pointer.
    static QByteArray name(const QList<QByteArray> &labels, int pointer = -1)
    {
        QByteArray out;
        for (const QByteArray &label : labels)
            out += char(label.size()) + label;
        return pointer < 0 ? out + '\0' : out + char(0xc0 | (pointer >> 8)) + char(pointer);
    }
    // A record of class IN with the cache-flush bit, as responders send them.
    static QByteArray record(const QByteArray &owner, int type, const QByteArray &data,
                             int recordClass = 0x8001)
    {
        return owner + u16(type) + u16(recordClass) + u16(0) + u16(120) + u16(data.size()) + data;
    }
};

#endif // ZELTEST_DNSWIRE_H
