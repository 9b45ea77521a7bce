#pragma once

// A paint device that draws nothing and lists the drawing calls a QPainter
// makes on it, with the pen, brush and font in force at each call, so tests
// can check positions exactly. Text that Qt splits into several items (one
// per script run) is joined back into one call when the pieces follow each
// other on the same baseline with no change of state between them, so two
// texts drawn one after the other, the second where the first ends, stay two.

#include <QBrush>
#include <QFont>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTextItem>
#include <QTransform>

#include <cmath>
#include <memory>
#include <vector>

namespace ralvo::test {

struct PaintCall
{
    enum class Kind { Rect, Line, Text, Image, Path, Polygon, Ellipse, Points };

    Kind kind = Kind::Rect;
    QRectF rect;         // Rect, Image (target), Ellipse
    QLineF line;         // Line
    QPointF point;       // Text: left end of the baseline
    QString text;        // Text
    qreal textWidth = 0; // Text: advance of the whole text
    QPen pen;
    QBrush brush;
    QFont font;
    QTransform transform;
    QPainter::CompositionMode composition = QPainter::CompositionMode_SourceOver;
};

class RecordingPaintEngine final : public QPaintEngine
{
public:
    explicit RecordingPaintEngine(std::vector<PaintCall> &calls)
        : QPaintEngine(QPaintEngine::AllFeatures), m_calls(calls)
    {}

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState &changed) override
    {
        const auto flags = changed.state();
        m_textContinues = false;
        if (flags & DirtyPen)
            m_pen = changed.pen();
        if (flags & DirtyBrush)
            m_brush = changed.brush();
        if (flags & DirtyFont)
            m_font = changed.font();
        if (flags & DirtyTransform)
            m_transform = changed.transform();
        if (flags & DirtyCompositionMode)
            m_composition = changed.compositionMode();
    }

    void drawRects(const QRect *rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            Add(PaintCall::Kind::Rect).rect = QRectF(rects[i]);
    }
    void drawRects(const QRectF *rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            Add(PaintCall::Kind::Rect).rect = rects[i];
    }
    void drawLines(const QLine *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Add(PaintCall::Kind::Line).line = QLineF(lines[i]);
    }
    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Add(PaintCall::Kind::Line).line = lines[i];
    }
    void drawEllipse(const QRectF &r) override { Add(PaintCall::Kind::Ellipse).rect = r; }
    void drawPath(const QPainterPath &path) override { Add(PaintCall::Kind::Path).rect = path.boundingRect(); }
    void drawPoints(const QPointF *, int) override { Add(PaintCall::Kind::Points); }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode) override
    {
        QPolygonF polygon;
        for (int i = 0; i < count; ++i)
            polygon << points[i];
        Add(PaintCall::Kind::Polygon).rect = polygon.boundingRect();
    }
    void drawPixmap(const QRectF &r, const QPixmap &, const QRectF &) override { Add(PaintCall::Kind::Image).rect = r; }
    void drawImage(const QRectF &r, const QImage &, const QRectF &, Qt::ImageConversionFlags) override
    {
        Add(PaintCall::Kind::Image).rect = r;
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        if (!m_calls.empty()) {
            PaintCall &last = m_calls.back();
            if (m_textContinues && last.kind == PaintCall::Kind::Text && last.point.y() == p.y() && last.pen == m_pen
                && last.transform == m_transform && std::abs(last.point.x() + last.textWidth - p.x()) < 0.5) {
                last.text += item.text();
                last.textWidth += item.width();
                return;
            }
        }
        PaintCall &call = Add(PaintCall::Kind::Text);
        call.point = p;
        call.text = item.text();
        call.textWidth = item.width();
        call.font = item.font();
        m_textContinues = true;
    }

private:
    PaintCall &Add(PaintCall::Kind kind)
    {
        PaintCall call;
        call.kind = kind;
        call.pen = m_pen;
        call.brush = m_brush;
        call.font = m_font;
        call.transform = m_transform;
        call.composition = m_composition;
        m_calls.push_back(call);
        return m_calls.back();
    }

    std::vector<PaintCall> &m_calls;
    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
    QTransform m_transform;
    QPainter::CompositionMode m_composition = QPainter::CompositionMode_SourceOver;
    bool m_textContinues = false; // no state changed since the last text item
};

class RecordingPaintDevice final : public QPaintDevice
{
public:
    RecordingPaintDevice(int width, int height, int dpi = 600)
        : m_width(width), m_height(height), m_dpi(dpi), m_engine(std::make_unique<RecordingPaintEngine>(calls))
    {}
    ~RecordingPaintDevice() override = default;

    std::vector<PaintCall> calls;

    QPaintEngine *paintEngine() const override { return m_engine.get(); }

    // The calls of one kind, in drawing order.
    std::vector<PaintCall> Of(PaintCall::Kind kind) const
    {
        std::vector<PaintCall> result;
        for (const PaintCall &c : calls) {
            if (c.kind == kind)
                result.push_back(c);
        }
        return result;
    }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return m_width;
        case PdmHeight:
            return m_height;
        case PdmWidthMM:
            return int(m_width * 25.4 / m_dpi);
        case PdmHeightMM:
            return int(m_height * 25.4 / m_dpi);
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_dpi;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    int m_width;
    int m_height;
    int m_dpi;
    std::unique_ptr<RecordingPaintEngine> m_engine;
};

} // namespace ralvo::test
