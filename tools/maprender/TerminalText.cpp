#include "TerminalText.h"

namespace {

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7f && c <= 0x9f);
}

bool isInvisibleFormat(char16_t c)
{
    return c == 0x061c || c == 0x200e || c == 0x200f || (c >= 0x2028 && c <= 0x202e)
        || (c >= 0x2066 && c <= 0x2069);
}

QString hex(char16_t c, int digits)
{
    return QString::number(c, 16).rightJustified(digits, QLatin1Char('0'));
}

} // namespace

QString TerminalText::escaped(const QString &text)
{
    QString shown;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            shown += c;
            shown += text.at(++i);
        } else if (isControl(code)) {
            shown += QLatin1String("\\x") + hex(code, 2);
        } else if (isInvisibleFormat(code) || c.isSurrogate()) {
            shown += QLatin1String("\\u") + hex(code, 4);
        } else {
            shown += c;
        }
    }
    return shown;
}
