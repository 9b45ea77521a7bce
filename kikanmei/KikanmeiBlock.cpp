#include "kikanmei/KikanmeiBlock.h"

#include <QtGlobal>

namespace ralvo {

WakuRecord WakuRecord::WithEdges(int left, int top, int right, int bottom)
{
    WakuRecord frame;
    frame.Left = QString::number(left);
    frame.Top = QString::number(top);
    frame.Right = QString::number(right);
    frame.Bottom = QString::number(bottom);
    return frame;
}

WakuRecord WakuRecord::FromLines(const QStringList &lines, qsizetype first)
{
    auto line = [&](qsizetype i) {
        const qsizetype at = first + i;
        return at >= 0 && at < lines.size() ? lines.at(at) : QString();
    };
    return WakuRecord{line(0), line(1), line(2), line(3), line(4), line(5), line(6), line(7), line(8), line(9)};
}

QStringList WakuRecord::ToLines() const
{
    return {Left, Top, Right, Bottom, FontHeight, CharGap, FontName, Color, Kind, Content};
}

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

qsizetype KikanmeiBlock::FrameCount() const { return (m_lines.size() + LinesPerFrame - 1) / LinesPerFrame; }

WakuRecord KikanmeiBlock::Frame(qsizetype index) const
{
    Q_ASSERT(index >= 0 && index < FrameCount());
    return WakuRecord::FromLines(m_lines, index * LinesPerFrame);
}

void KikanmeiBlock::SetFrame(qsizetype index, const WakuRecord &frame)
{
    Q_ASSERT(index >= 0 && index < FrameCount());
    CompleteLastFrame();
    const QStringList lines = frame.ToLines();
    for (int i = 0; i < LinesPerFrame; ++i)
        m_lines[index * LinesPerFrame + i] = lines.at(i);
}

void KikanmeiBlock::AppendFrame(const WakuRecord &frame)
{
    CompleteLastFrame();
    m_lines.append(frame.ToLines());
}

void KikanmeiBlock::RemoveFrame(qsizetype index)
{
    Q_ASSERT(index >= 0 && index < FrameCount());
    const qsizetype first = index * LinesPerFrame;
    m_lines.remove(first, qMin<qsizetype>(LinesPerFrame, m_lines.size() - first));
}

void KikanmeiBlock::CompleteLastFrame()
{
    while (m_lines.size() % LinesPerFrame != 0)
        m_lines.append(QString());
}

} // namespace ralvo
