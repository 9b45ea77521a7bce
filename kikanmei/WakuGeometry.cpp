#include "kikanmei/WakuGeometry.h"

#include "platform/ShiftJis.h"

#include "calc/Rounding.h"

#include <cmath>
#include <limits>

namespace ralvo {

std::optional<int> ParseWakuInteger(const QString &text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<WakuEdges> WakuEdgesInUnits(const WakuRecord &frame)
{
    const auto l = ParseWakuInteger(frame.Left);
    const auto t = ParseWakuInteger(frame.Top);
    const auto r = ParseWakuInteger(frame.Right);
    const auto b = ParseWakuInteger(frame.Bottom);
    if (!l || !t || !r || !b)
        return std::nullopt;
    return WakuEdges{*l, *t, *r, *b};
}

std::optional<qsizetype> WakuFrameAt(const KikanmeiBlock &block, int xu, int yu)
{
    for (qsizetype i = block.FrameCount() - 1; i >= 0; --i) {
        const auto e = WakuEdgesInUnits(block.Frame(i));
        if (e && e->Left <= xu && xu <= e->Right && e->Top <= yu && yu <= e->Bottom)
            return i;
    }
    return std::nullopt;
}

int BlockToPixels::X(int units) const { return RoundHalfEven(m_originX + units / 10000.0 * m_width); }

int BlockToPixels::Y(int units) const { return RoundHalfEven(m_originY + units / 10000.0 * m_height); }

WakuEdges BlockToPixels::Edges(const WakuEdges &units) const
{
    return {X(units.Left), Y(units.Top), X(units.Right), Y(units.Bottom)};
}

std::optional<WakuEdges> BlockToPixels::Edges(const WakuRecord &frame) const
{
    const auto units = WakuEdgesInUnits(frame);
    if (!units)
        return std::nullopt;
    return Edges(*units);
}

int BlockToPixels::UnitsX(int px) const { return m_width == 0 ? 0 : RoundHalfEven((px - m_originX) / m_width * 10000); }

int BlockToPixels::UnitsY(int py) const
{
    return m_height == 0 ? 0 : RoundHalfEven((py - m_originY) / m_height * 10000);
}

WakuTextMeasure MeasureWakuText(const QString &text)
{
    WakuTextMeasure m;
    m.normalized = platform::NormalizeForShiftJis(text);
    const QString &s = m.normalized;
    for (qsizetype i = 0; i < s.size();) {
        const qsizetype len = (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) ? 2 : 1;
        QString ch = s.mid(i, len);
        const int width = platform::ShiftJisWidth(ch) == 1 ? 1 : 2;
        m.chars.push_back(std::move(ch));
        m.widths.push_back(width);
        m.u += width;
        ++m.n;
        i += len;
    }
    return m;
}

void FitWakuText(WakuRecord &frame, int canvasWidth, int canvasHeight)
{
    const bool vertical = frame.Kind == WakuKind::Vertical();
    if (!vertical && frame.Kind != WakuKind::Horizontal())
        return;
    if (canvasWidth <= 0 || canvasHeight <= 0)
        return;
    const auto px = BlockToPixels::ForCanvas(canvasWidth, canvasHeight).Edges(frame);
    if (!px)
        return;
    const WakuTextMeasure text = MeasureWakuText(frame.Content);
    if (text.n == 0)
        return;

    const double w = double(px->Right) - px->Left - 2;
    const double h = double(px->Bottom) - px->Top - 2;
    const double n = text.n;
    const double u = text.u;
    double em = 0;
    double gap = 0;
    if (text.n == 1) {
        em = h < w ? h : w;
    } else if (vertical) {
        if (h > u * w * 0.5) {
            em = w;
            gap = (h - u * w * 0.5) / (n - 1);
        } else {
            em = h / (u * 0.5);
        }
    } else {
        if (w > u * h * 0.5) {
            em = h;
            gap = (w - u * h * 0.5) / (n - 1);
        } else {
            em = w / (u * 0.5);
        }
    }
    frame.FontHeight = QString::number(TruncToInt(em / canvasWidth * 10000));
    frame.CharGap = QString::number(TruncToInt(gap / canvasHeight * 10000));
}

std::vector<int> WakuCharacterOffsets(const WakuTextMeasure &text, double em, double gap)
{
    std::vector<int> offsets;
    offsets.reserve(text.chars.size());
    int bytesBefore = 0;
    for (std::size_t c = 0; c < text.chars.size(); ++c) {
        offsets.push_back(RoundHalfEven(em * 0.5 * bytesBefore + gap * double(c)));
        bytesBefore += text.widths[c];
    }
    return offsets;
}

std::optional<QRect> WakuPictureDestination(const QString &kind, const WakuEdges &px, double pictureWidth,
                                            double pictureHeight)
{
    const int w = px.Right - px.Left - 2;
    const int h = px.Bottom - px.Top - 2;
    if (w <= 0 || h <= 0 || !(pictureWidth > 0) || !(pictureHeight > 0))
        return std::nullopt;
    const QPoint innerTopLeft(px.Left + 1, px.Top + 1);
    if (kind == WakuKind::PictureStretched())
        return QRect(innerTopLeft, QSize(w, h));
    if (kind != WakuKind::PictureFixedAspect())
        return std::nullopt;
    if (double(w) / h >= pictureWidth / pictureHeight) {
        const int width = RoundHalfEven(pictureWidth / pictureHeight * h);
        return QRect(QPoint(px.Right - 1 - width, px.Top + 1), QSize(width, h));
    }
    const int height = RoundHalfEven(pictureHeight / pictureWidth * w);
    return QRect(innerTopLeft, QSize(w, height));
}

QString WakuRequestFaceName(const QString &fontName, bool vertical)
{
    const int limit = vertical ? 30 : 31;
    const WakuTextMeasure name = MeasureWakuText(fontName);
    QString cut;
    int bytes = 0;
    for (std::size_t i = 0; i < name.chars.size(); ++i) {
        if (bytes + name.widths[i] > limit)
            break;
        bytes += name.widths[i];
        cut += name.chars[i];
    }
    return cut;
}

} // namespace ralvo
