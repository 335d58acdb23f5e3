#include <zelmw/vocabulary/MacAddressBuilder.h>

#include <QRegularExpression>
#include <QStringList>

namespace zelmw {

QString MacAddressBuilder::buildMacAddress(const QString &mac)
{
    if (mac.isEmpty())
        return QStringLiteral("");

    static const QRegularExpression separators(QStringLiteral("[:_-]"));
    if (mac.contains(separators))
        return mac;

    QStringList pieces;
    for (int pos = 0; pos < mac.length(); pos += 2)
        pieces.append(mac.mid(pos, 2));
    return pieces.join(QLatin1Char(':'));
}

} // namespace zelmw
