#include <zelmw/vocabulary/Utility.h>

#include <QRegExp>

namespace zelmw {

const QString Utility::MAC_ADRESS_PATTERN = QStringLiteral(
    "^[0-9A-F]{2}[:-][0-9A-F]{2}[:-][0-9A-F]{2}[:-][0-9A-F]{2}[:-][0-9A-F]{2}[:-][0-9A-F]{2}$");
const QString Utility::IP_ADRESS_PATTERN
    = QStringLiteral("^([1-9]|[1-9][0-9]|1[0-9][0-9]|2[0-4][0-9]|25[0-5])"
                     "(\\.([0-9]|[1-9][0-9]|1[0-9][0-9]|2[0-4][0-9]|25[0-5])){3}$");
const QString Utility::EMAIL_PATTERN
    = QStringLiteral("^[a-z0-9_+-]+(\\.[a-z0-9_+-]+)*@[a-z0-9-]+(\\.[a-z0-9-]+)*\\.([a-z]{2,4})$");

// Each call builds its own QRegExp: matching stores state in the object, so a shared one would
// need a lock.

bool Utility::isValidMacAddress(const QString &mac)
{
    QRegExp regExp(MAC_ADRESS_PATTERN, Qt::CaseInsensitive);
    if (!regExp.exactMatch(mac))
        return false;
    // The all-zero address means "no address", however its groups are separated.
    for (const QChar c : mac) {
        if (c != QLatin1Char('0') && c != QLatin1Char(':') && c != QLatin1Char('-'))
            return true;
    }
    return false;
}

bool Utility::isValidIpAddress(const QString &ip)
{
    QRegExp regExp(IP_ADRESS_PATTERN, Qt::CaseInsensitive);
    return regExp.exactMatch(ip);
}

bool Utility::isValidEmailAddress(const QString &mail)
{
    QRegExp regExp(EMAIL_PATTERN, Qt::CaseInsensitive);
    return regExp.exactMatch(mail);
}

} // namespace zelmw
