#pragma once

#include <QString>
#include <QStringList>

namespace ralvo {

// The institution block: a list of text lines, ten per frame. The stored
// text form ("EditStr") is every line followed by CR LF.
class KikanmeiBlock
{
public:
    static constexpr int LinesPerFrame = 10;

    KikanmeiBlock() = default;
    explicit KikanmeiBlock(QStringList lines) : m_lines(std::move(lines)) {}

    const QStringList &Lines() const { return m_lines; }
    QStringList &Lines() { return m_lines; }

    // Every line followed by CR LF, the last included.
    QString ToText() const;
    // Splits at CR LF, lone CR and lone LF; a break at the very end adds no
    // empty line; the empty text gives no lines.
    static KikanmeiBlock FromText(const QString &text);

    friend bool operator==(const KikanmeiBlock &, const KikanmeiBlock &) = default;

private:
    QStringList m_lines;
};

} // namespace ralvo
