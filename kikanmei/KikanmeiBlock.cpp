#include "kikanmei/KikanmeiBlock.h"

namespace ralvo {

QString KikanmeiBlock::ToText() const
{
    QString text;
    for (const QString &line : m_lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

KikanmeiBlock KikanmeiBlock::FromText(const QString &text)
{
    QStringList lines;
    QString current;
    bool pending = false; // characters or a break seen since the last line ended
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(current);
            current.clear();
            pending = false;
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            current.append(c);
            pending = true;
        }
    }
    if (pending)
        lines.append(current);
    return KikanmeiBlock(std::move(lines));
}

} // namespace ralvo
