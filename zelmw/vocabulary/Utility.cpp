#include <zelmw/vocabulary/Utility.h>

#include <QRegularExpression>

namespace zelmw {

const QString Utility::MAC_ADRESS_PATTERN = QStringLiteral(
    "^[0-9A-F]{2}[:-][0-9A-F]{2}[:-][0-9A-F]{2}[:-][0-9A-F]{2}[:-][0-9A-F]{2}[:-][0-9A-F]{2}$");
const QString Utility::IP_ADRESS_PATTERN
    = QStringLiteral("^([1-9]|[1-9][0-9]|1[0-9][0-9]|2[0-4][0-9]|25[0-5])"
                     "(\\.([0-9]|[1-9][0-9]|1[0-9][0-9]|2[0-4][0-9]|25[0-5])){3}$");
const QString Utility::EMAIL_PATTERN
    = QStringLiteral("^[a-z0-9_+-]+(\\.[a-z0-9_+-]+)*@[a-z0-9-]+(\\.[a-z0-9-]+)*\\.([a-z]{2,4})$");

namespace {

// Compiled once, case-insensitive, matching the whole text: a const QRegularExpression may be
// shared by threads, and the validators run several times for every discovery record.
QRegularExpression wholeText(const QString &pattern)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                              QRegularExpression::CaseInsensitiveOption);
}

} // namespace

bool Utility::isValidMacAddress(const QString &mac)
{
    static const QRegularExpression pattern = wholeText(MAC_ADRESS_PATTERN);
    if (!pattern.match(mac).hasMatch())
        return false;
    // The all-zero address means "no address", however its groups are separated.
    for (const QChar c : mac) {
        if (c != QLatin1Char('0') && c != QLatin1Char(':') && c != QLatin1Char('-'))
            return true;
    }
    return false;
}

bool Utility::isLocallyAdministeredMac(const QString &mac)
{
    bool hex = false;
    const int firstOctet = mac.left(2).toInt(&hex, 16);
    return isValidMacAddress(mac) && hex && (firstOctet & 0x02) != 0;
}

bool Utility::isValidIpAddress(const QString &ip)
{
    static const QRegularExpression pattern = wholeText(IP_ADRESS_PATTERN);
    return pattern.match(ip).hasMatch();
}

bool Utility::isValidEmailAddress(const QString &mail)
{
    static const QRegularExpression pattern = wholeText(EMAIL_PATTERN);
    return pattern.match(mail).hasMatch();
}

} // namespace zelmw
