#include "platform/EscapedText.h"

namespace ralvo::platform {

QString EscapeControlCharacters(QStringView text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && (u < 0x7f || u > 0x9f)) {
            escaped += c;
            continue;
        }
        switch (u) {
        case u'\t':
            escaped += QLatin1String("\\t");
            break;
        case u'\n':
            escaped += QLatin1String("\\n");
            break;
        case u'\r':
            escaped += QLatin1String("\\r");
            break;
        default:
            escaped += u < 0x80 ? QLatin1String("\\x") : QLatin1String("\\u");
            escaped += QString::number(int(u), 16).rightJustified(u < 0x80 ? 2 : 4, u'0');
            break;
        }
    }
    return escaped;
}

} // namespace ralvo::platform
