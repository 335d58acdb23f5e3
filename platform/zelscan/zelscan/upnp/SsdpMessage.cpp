#include <zelscan/upnp/SsdpMessage_p.h>

#include <QList>

#include <algorithm>

namespace zelscan {
namespace upnp {

namespace {

bool hasControlCharacters(const QString &line)
{
    for (const QChar c : line) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
            return true;
        if (c.unicode() == 0x7f)
            return true;
    }
    return false;
}

} // namespace

QByteArray searchRequest(const QByteArray &searchTarget)
{
    return QByteArrayLiteral("M-SEARCH * HTTP/1.1\r\n"
                             "HOST: 239.255.255.250:1900\r\n"
                             "MAN: \"ssdp:discover\"\r\n"
                             "MX: 1\r\n"
                             "ST: ")
        + searchTarget + QByteArrayLiteral("\r\n\r\n");
}

QString answerLocation(const QByteArray &datagram)
{
    if (datagram.size() > MAX_DATAGRAM_BYTES)
        return {};
    const QString text = QString::fromUtf8(datagram);
    if (text.toUtf8() != datagram) // Invalid sequences were replaced.
        return {};
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QStringList status = lines.first().trimmed().split(QLatin1Char(' '));
    if (status.size() < 2 || !status.first().startsWith(QLatin1String("HTTP/1."))
        || status.at(1) != QLatin1String("200"))
        return {};
    QString location;
    int count = 0;
    for (int i = 1; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            break;
        if (++count > MAX_HEADER_LINES || line.size() > MAX_LINE_LENGTH
            || hasControlCharacters(line))
            return {};
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0)
            return {};
        if (location.isEmpty()
            && line.left(colon).trimmed().compare(QLatin1String("LOCATION"), Qt::CaseInsensitive)
                == 0)
            location = line.mid(colon + 1).trimmed();
    }
    // A header may hold a tab, a URL no control character at all (C1 ones included).
    const bool clean = std::none_of(location.cbegin(), location.cend(),
                                    [](QChar c) { return c.category() == QChar::Other_Control; });
    return clean ? location : QString();
}

} // namespace upnp
} // namespace zelscan
