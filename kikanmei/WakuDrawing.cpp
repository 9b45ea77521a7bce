#include "kikanmei/WakuDrawing.h"

#include "kikanmei/VerticalForms.h"
#include "pictures/PictureCache.h"
#include "platform/CellFont.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ralvo {

namespace {

const QString kFullWidthHyphenMinus = QStringLiteral("\uFF0D");

QColor TextColour(const WakuRecord &frame, const WakuTarget &target)
{
    if (target.textColour)
        return ToQColor(*target.textColour);
    const auto stored = ParseWakuInteger(frame.Color);
    return stored ? ToQColor(Colour(*stored)) : QColor(Qt::black);
}

// The part of the painter's coordinates that lands on its device and inside
// its clip: characters whose cells lie wholly outside it are not drawn (a
// damaged stored text may be very long; a repaint may expose a small strip).
// The clip is widened by `margin` on every side, so that a glyph reaching
// out of its cell is still drawn where it shows.
QRectF VisibleArea(const QPainter &painter, double margin)
{
    const QPaintDevice *device = painter.device();
    bool invertible = false;
    // combinedTransform maps to the device's own coordinates; deviceTransform
    // would add the offset of a widget painted inside its window's surface.
    const QTransform toLogical = painter.combinedTransform().inverted(&invertible);
    if (!device || !invertible)
        return QRectF(-1e9, -1e9, 2e9, 2e9);
    QRectF visible = toLogical.mapRect(QRectF(0, 0, device->width(), device->height()));
    if (painter.hasClipping())
        visible &= painter.clipBoundingRect().adjusted(-margin, -margin, margin, margin);
    return visible;
}

// A character lying turned 90° clockwise, the top of its cell against the
// x of `topRight`, its cell starting at the y of `topRight`.
void DrawTurned(QPainter &painter, const QPointF &topRight, const QString &character, const QFont &font)
{
    const QFontMetricsF metrics(font, painter.device());
    painter.save();
    painter.translate(topRight);
    painter.rotate(90);
    painter.setFont(font);
    painter.drawText(QPointF(0, metrics.ascent()), character);
    painter.restore();
}

void DrawHorizontal(QPainter &painter, const WakuRecord &frame, const WakuTarget &target, double cell)
{
    const WakuTextMeasure text = MeasureWakuText(frame.Content);
    const std::vector<int> offsets = WakuCharacterOffsets(text, target.em, target.gap);
    const QRectF visible = VisibleArea(painter, cell);
    const double x = target.edges.Left + target.inset;
    const double top = target.edges.Top + target.inset;
    // The whole line outside: no font is made.
    const auto [first, last] = std::minmax_element(offsets.begin(), offsets.end());
    if (first == offsets.end() || !visible.intersects(QRectF(x + *first, top, *last - *first + cell, cell)))
        return;
    const QFont font = platform::FontForCellHeight(WakuRequestFaceName(frame.FontName, false), cell, *painter.device());
    const QFontMetricsF metrics(font, painter.device());
    painter.setFont(font);
    for (std::size_t c = 0; c < text.chars.size(); ++c) {
        if (visible.intersects(QRectF(x + offsets[c], top, cell, cell)))
            painter.drawText(QPointF(x + offsets[c], top + metrics.ascent()), text.chars[c]);
    }
}

void DrawVertical(QPainter &painter, const WakuRecord &frame, const WakuTarget &target, double cell)
{
    const WakuTextMeasure text = MeasureWakuText(frame.Content);
    const std::vector<int> offsets = WakuCharacterOffsets(text, target.em, target.gap);
    const double right = target.edges.Right - target.inset;
    const double top = target.edges.Top + target.inset;
    const QRectF visible = VisibleArea(painter, cell);
    // The whole column outside: no font is made.
    const auto [first, last] = std::minmax_element(offsets.begin(), offsets.end());
    if (first == offsets.end() || !visible.intersects(QRectF(right - cell, top + *first, cell, *last - *first + cell)))
        return;
    // There are no "@" faces here: the vertical face is the plain one with
    // full-width characters shaped into their vertical forms and half-width
    // ones turned; its name is cut as the "@" name would be.
    const QFont vertical =
        platform::FontForCellHeight(WakuRequestFaceName(frame.FontName, true), cell, *painter.device());
    const QFont plain =
        platform::FontForCellHeight(WakuRequestFaceName(frame.FontName, false), cell, *painter.device());
    const QRawFont raw = platform::RawFontFor(vertical, painter.device());
    const platform::VerticalForms &forms = platform::VerticalForms::Of(raw);
    const QFontMetricsF metrics(vertical, painter.device());

    for (std::size_t c = 0; c < text.chars.size(); ++c) {
        const QString &ch = text.chars[c];
        const QPointF cellTopRight(right, top + offsets[c]);
        if (!visible.intersects(QRectF(right - cell, cellTopRight.y(), cell, cell)))
            continue;
        if (ch == kFullWidthHyphenMinus) {
            // Drawn with the plain face, turned, so it shows as a vertical stroke.
            DrawTurned(painter, cellTopRight, ch, plain);
            continue;
        }
        if (text.widths[c] == 1) {
            DrawTurned(painter, cellTopRight, ch, vertical);
            continue;
        }
        const quint32 glyph = forms.Glyph(ch);
        if (glyph != 0) {
            const QList<QPointF> advances = raw.advancesForGlyphIndexes(QList<quint32>{glyph});
            const double advance = advances.isEmpty() ? raw.pixelSize() : advances.first().x();
            QGlyphRun run;
            run.setRawFont(raw);
            run.setGlyphIndexes({glyph});
            run.setPositions({QPointF(0, 0)});
            painter.drawGlyphRun(QPointF(right - cell / 2 - advance / 2, cellTopRight.y() + raw.ascent()), run);
        } else {
            // Not in the face: upright, through Qt's font fallback.
            painter.setFont(vertical);
            const double advance = metrics.horizontalAdvance(ch);
            painter.drawText(QPointF(right - cell / 2 - advance / 2, cellTopRight.y() + metrics.ascent()), ch);
        }
    }
}

void DrawText(WakuRecord &frame, const WakuTarget &target)
{
    if (!ParseWakuInteger(frame.FontHeight) || !ParseWakuInteger(frame.CharGap) || frame.Content.isEmpty())
        return;
    const double cell = std::nearbyint(target.em);
    if (!(cell >= 1) || !std::isfinite(target.gap))
        return;
    QPainter &painter = *target.painter;
    painter.setPen(TextColour(frame, target));
    painter.setBackgroundMode(Qt::TransparentMode);
    if (frame.Kind == WakuKind::Horizontal())
        DrawHorizontal(painter, frame, target, cell);
    else
        DrawVertical(painter, frame, target, cell);
}

void DrawPicture(WakuRecord &frame, const WakuTarget &target, platform::Messages &messages, platform::Sounds &sounds)
{
    // The file is looked at in every drawing; it is decoded again only when
    // it has changed since.
    const auto picture = pictures::LoadPicture(frame.Content);
    if (!picture) {
        sounds.Beep();
        messages.ShowMessage(PictureLoadFailedMessage());
        frame.Kind = WakuKind::Unreadable();
        return;
    }
    const auto destination =
        WakuPictureDestination(frame.Kind, target.edges, picture->Size().width(), picture->Size().height());
    // The picture is read at every drawing, also where it lies outside the
    // part being repainted; only its drawing is skipped there.
    if (destination && VisibleArea(*target.painter, 2).intersects(QRectF(*destination)))
        picture->Draw(*target.painter, QRectF(*destination));
}

} // namespace

QString PictureLoadFailedMessage() { return QStringLiteral("グラフィックファイルを読み込めませんでした"); }

void DrawWaku(WakuRecord &frame, const WakuTarget &target, platform::Messages &messages, platform::Sounds &sounds)
{
    if (!target.painter)
        return;
    const bool text = frame.Kind == WakuKind::Horizontal() || frame.Kind == WakuKind::Vertical();
    const bool picture = frame.Kind == WakuKind::PictureFixedAspect() || frame.Kind == WakuKind::PictureStretched();
    if (!text && !picture)
        return;
    target.painter->save();
    if (text)
        DrawText(frame, target);
    else
        DrawPicture(frame, target, messages, sounds);
    target.painter->restore();
}

void DrawWaku(KikanmeiBlock &block, qsizetype index, const WakuTarget &target, platform::Messages &messages,
              platform::Sounds &sounds)
{
    WakuRecord frame = block.Frame(index);
    const QString kind = frame.Kind;
    DrawWaku(frame, target, messages, sounds);
    if (frame.Kind != kind)
        block.SetFrame(index, frame);
}

} // namespace ralvo
