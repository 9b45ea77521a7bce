#include "pictures/PictureCost.h"

#include "pictures/DibHeader.h"
#include "pictures/LittleEndian.h"

#include <QPointF>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace ralvo::pictures {

namespace {

// Record types (the EMR_ numbers of the format).
enum : quint32 {
    kHeader = 1,
    kPolyBezier = 2,
    kPolygon = 3,
    kPolyline = 4,
    kPolyBezierTo = 5,
    kPolylineTo = 6,
    kPolyPolyline = 7,
    kPolyPolygon = 8,
    kSetWindowExt = 9,
    kSetViewportExt = 11,
    kEof = 14,
    kSetMapMode = 17,
    kMoveTo = 27,
    kScaleViewportExt = 31,
    kScaleWindowExt = 32,
    kSaveDc = 33,
    kRestoreDc = 34,
    kSetWorldTransform = 35,
    kModifyWorldTransform = 36,
    kSelectObject = 37,
    kCreatePen = 38,
    kCreateBrush = 39,
    kDeleteObject = 40,
    kAngleArc = 41,
    kEllipse = 42,
    kRectangle = 43,
    kRoundRect = 44,
    kArc = 45,
    kChord = 46,
    kPie = 47,
    kExtFloodFill = 53,
    kLineTo = 54,
    kArcTo = 55,
    kPolyDraw = 56,
    kBeginPath = 59,
    kEndPath = 60,
    kFillPath = 62,
    kStrokeAndFillPath = 63,
    kStrokePath = 64,
    kSelectClipPath = 67,
    kAbortPath = 68,
    kFillRgn = 71,
    kFrameRgn = 72,
    kInvertRgn = 73,
    kPaintRgn = 74,
    kBitBlt = 76,
    kStretchBlt = 77,
    kMaskBlt = 78,
    kPlgBlt = 79,
    kSetDiBitsToDevice = 80,
    kStretchDiBits = 81,
    kExtCreateFont = 82,
    kExtTextOutA = 83,
    kExtTextOutW = 84,
    kPolyBezier16 = 85,
    kPolygon16 = 86,
    kPolyline16 = 87,
    kPolyBezierTo16 = 88,
    kPolylineTo16 = 89,
    kPolyPolyline16 = 90,
    kPolyPolygon16 = 91,
    kPolyDraw16 = 92,
    kCreateMonoBrush = 93,
    kCreateDibPatternBrush = 94,
    kExtCreatePen = 95,
    kPolyTextOutA = 96,
    kPolyTextOutW = 97,
    kSmallTextOut = 108,
    kAlphaBlend = 114,
    kTransparentBlt = 116,
    kGradientFill = 118,
};

constexpr quint32 kStockObject = 0x80000000u;
constexpr quint32 kNullBrushStock = 5, kNullPenStock = 8;
constexpr quint32 kNullPenStyle = 5, kNullBrushStyle = 1;
constexpr quint32 kOpaqueText = 0x2, kNoRectText = 0x100;
constexpr int kMaxSavedStates = 256;
constexpr double kDefaultFontHeight = 12;

struct Geometry
{
    QRectF bounds;     // device units, without the origin's offset
    double length = 0; // of the outline, device units
    bool empty = true;

    void Add(const Geometry &other)
    {
        if (other.empty)
            return;
        if (empty) {
            bounds = other.bounds;
        } else {
            bounds.setLeft(std::min(bounds.left(), other.bounds.left()));
            bounds.setTop(std::min(bounds.top(), other.bounds.top()));
            bounds.setRight(std::max(bounds.right(), other.bounds.right()));
            bounds.setBottom(std::max(bounds.bottom(), other.bounds.bottom()));
        }
        length += other.length;
        empty = false;
    }
};

struct Object
{
    enum class Kind { Pen, Brush, Font, Other };
    Kind kind = Kind::Other;
    bool draws = true; // a pen or brush that paints (not the null one)
    double size = 0;   // a pen's width, a font's height (logical units)
};

struct DcState
{
    quint32 mapMode = 1; // MM_TEXT
    double windowExtX = 1, windowExtY = 1, viewportExtX = 1, viewportExtY = 1;
    bool windowExtSet = false, viewportExtSet = false;
    // The world transform's linear part: x' = x m11 + y m21, y' = x m12 + y m22.
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1;
    bool pen = true;
    double penWidth = 0;
    bool brush = true;
    double fontHeight = kDefaultFontHeight;
    QPointF current;
};

class EmfCostReader
{
public:
    explicit EmfCostReader(const QByteArray &emf) : m_bytes(emf) {}

    std::optional<double> Read()
    {
        const LittleEndian &d = m_bytes;
        if (d.Size() < 88 || d.U32(0) != kHeader)
            return std::nullopt;
        const qint64 headerSize = d.U32(4);
        if (headerSize < 88 || headerSize > d.Size())
            return std::nullopt;
        m_pictureWidth = std::abs(double(d.I32(16)) - d.I32(8));
        m_pictureHeight = std::abs(double(d.I32(20)) - d.I32(12));
        m_pictureArea = std::max(m_pictureWidth * m_pictureHeight, 1.0);
        const double deviceWidth = d.I32(72), millimetres = d.I32(80);
        m_pixelsPerMm = millimetres > 0 && deviceWidth > 0 ? deviceWidth / millimetres : 1;
        qint64 records = 0;
        for (qint64 at = 0; at + 8 <= d.Size();) {
            const quint32 type = d.U32(at);
            const qint64 size = d.U32(at + 4);
            if (size < 8 || size % 4 != 0 || size > d.Size() - at || ++records > MaxEmfRecords)
                return std::nullopt;
            if (type == kEof)
                return m_painted;
            m_record = d.Part(at, size);
            if (!Record(type) || m_points > MaxEmfPoints || m_bitmapPixels > MaxEmfBitmapPixels
                || m_painted > MaxPaintedPictures)
                return std::nullopt;
            at += size;
        }
        return std::nullopt;
    }

private:
    // What a family's handler made of a record: empty when the record is
    // not of its family, else whether it was consistent.
    using Played = std::optional<bool>;

    // Whether `bytes` bytes from `offset` lie within the current record.
    bool Has(qint64 offset, qint64 bytes) const { return m_record.Has(offset, bytes); }
    quint32 R32(qint64 offset) const { return m_record.U32(offset); }
    qint32 RI32(qint64 offset) const { return m_record.I32(offset); }

    // The page mapping's scale, as the converter applies it.
    std::pair<double, double> PageScale() const
    {
        const DcState &s = m_state;
        switch (s.mapMode) {
        case 2:
            return {m_pixelsPerMm * 0.1, m_pixelsPerMm * 0.1}; // LOMETRIC
        case 3:
            return {m_pixelsPerMm * 0.01, m_pixelsPerMm * 0.01}; // HIMETRIC
        case 4:
            return {m_pixelsPerMm * 0.254, m_pixelsPerMm * 0.254};
        case 5:
            return {m_pixelsPerMm * 0.0254, m_pixelsPerMm * 0.0254};
        case 6:
            return {m_pixelsPerMm * 25.4 / 1440, m_pixelsPerMm * 25.4 / 1440}; // TWIPS
        case 7: // ISOTROPIC: both axes take the horizontal ratio
            if (s.windowExtSet && s.viewportExtSet)
                return {s.viewportExtX / s.windowExtX, s.viewportExtX / s.windowExtX};
            return {1, 1};
        case 8:
            if (s.windowExtSet && s.viewportExtSet)
                return {s.viewportExtX / s.windowExtX, s.viewportExtY / s.windowExtY};
            return {1, 1};
        default:
            return {1, 1};
        }
    }

    // Logical vector to device vector.
    QPointF Map(double x, double y) const
    {
        const auto [sx, sy] = PageScale();
        const double px = x * sx, py = y * sy;
        return {px * m_state.m11 + py * m_state.m21, px * m_state.m12 + py * m_state.m22};
    }

    // How much the mapping stretches a length at most (its largest singular value).
    double Stretch() const
    {
        const auto [sx, sy] = PageScale();
        const double a = sx * m_state.m11, b = sy * m_state.m21, c = sx * m_state.m12, d = sy * m_state.m22;
        const double squares = a * a + b * b + c * c + d * d;
        const double det = a * d - b * c;
        return std::sqrt((squares + std::sqrt(std::max(squares * squares - 4 * det * det, 0.0))) / 2);
    }

    Geometry Points(const std::vector<QPointF> &logical, bool closed) const
    {
        Geometry g;
        if (logical.empty())
            return g;
        double left = HUGE_VAL, top = HUGE_VAL, right = -HUGE_VAL, bottom = -HUGE_VAL;
        for (std::size_t i = 0; i < logical.size(); ++i) {
            const QPointF p = Map(logical[i].x(), logical[i].y());
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
            if (i > 0) {
                const QPointF q = Map(logical[i - 1].x(), logical[i - 1].y());
                g.length += std::hypot(p.x() - q.x(), p.y() - q.y());
            }
        }
        if (closed && logical.size() > 2) {
            const QPointF p = Map(logical.front().x(), logical.front().y());
            const QPointF q = Map(logical.back().x(), logical.back().y());
            g.length += std::hypot(p.x() - q.x(), p.y() - q.y());
        }
        g.bounds = QRectF(QPointF(left, top), QPointF(right, bottom));
        g.empty = false;
        return g;
    }

    // A rectangle given by its edges (left, top, right, bottom at `offset`).
    std::optional<Geometry> Box(qint64 offset) const
    {
        if (!Has(offset, 16))
            return std::nullopt;
        const double left = RI32(offset), top = RI32(offset + 4), right = RI32(offset + 8), bottom = RI32(offset + 12);
        return Points({{left, top}, {right, top}, {right, bottom}, {left, bottom}}, true);
    }

    void AddArea(double area)
    {
        const double pictures = area / m_pictureArea;
        m_painted += std::isfinite(pictures) ? std::clamp(pictures, 0.0, 1.0) : 1.0;
    }

    // Fills and strokes `g` with the current brush and pen, or adds it to the
    // path being built.
    void Paint(const Geometry &g, bool fill, bool stroke = true)
    {
        if (g.empty)
            return;
        if (m_inPath) {
            m_path.Add(g);
            return;
        }
        if (fill && m_state.brush)
            AddArea(g.bounds.width() * g.bounds.height());
        if (stroke && m_state.pen) {
            // A stroke paints about its length times its width, and never
            // more than its bounds grown by the width.
            const double thinnest = std::hypot(m_pictureWidth, m_pictureHeight) / 1000;
            const double width = std::max(m_state.penWidth * Stretch(), thinnest);
            const double grown = (g.bounds.width() + width) * (g.bounds.height() + width);
            AddArea(std::min(g.length * width, grown));
        }
    }

    // `count` points of `bytes` bytes each (8: POINTL, 4: POINTS) from `offset`.
    std::optional<std::vector<QPointF>> ReadPoints(qint64 offset, qint64 count, int bytes)
    {
        if (count < 0 || count > MaxEmfPoints || !Has(offset, count * bytes))
            return std::nullopt;
        m_points += count;
        std::vector<QPointF> points;
        points.reserve(std::size_t(count));
        for (qint64 i = 0; i < count; ++i) {
            const qint64 at = offset + i * bytes;
            points.emplace_back(bytes == 8 ? double(m_record.I32(at)) : double(m_record.I16(at)),
                                bytes == 8 ? double(m_record.I32(at + 4)) : double(m_record.I16(at + 2)));
        }
        return points;
    }

    // POLYGON, POLYLINE and the like: bounds, count, points.
    bool Poly(int pointBytes, bool fill, bool fromCurrent)
    {
        if (!Has(24, 4))
            return false;
        auto points = ReadPoints(28, R32(24), pointBytes);
        if (!points)
            return false;
        if (fromCurrent)
            points->insert(points->begin(), m_state.current);
        if (!points->empty())
            m_state.current = points->back();
        Paint(Points(*points, fill), fill);
        return true;
    }

    // POLYPOLYGON and POLYPOLYLINE: bounds, polygons, points, counts, points.
    bool PolyPoly(int pointBytes, bool fill)
    {
        if (!Has(24, 8))
            return false;
        const qint64 polygons = R32(24);
        const qint64 total = R32(28);
        if (polygons > MaxEmfPoints || !Has(32, polygons * 4))
            return false;
        auto points = ReadPoints(32 + polygons * 4, total, pointBytes);
        if (!points)
            return false;
        qint64 first = 0;
        for (qint64 i = 0; i < polygons; ++i) {
            const qint64 count = R32(32 + i * 4);
            if (count > total - first)
                return false;
            Paint(Points(std::vector<QPointF>(points->begin() + first, points->begin() + first + count), fill), fill);
            first += count;
        }
        return true;
    }

    // A bitmap's header at `bmiOffset` (`bmiBytes` long): its pixels count
    // against the limit of all bitmaps.
    bool BitmapPixels(qint64 bmiOffset, qint64 bmiBytes)
    {
        if (bmiBytes == 0)
            return true; // no bitmap: a pattern or colour fill
        if (!Has(bmiOffset, bmiBytes))
            return false;
        const std::optional<DibHeader> header = DibHeader::Read(m_record.Part(bmiOffset, bmiBytes));
        if (!header)
            return false;
        const qint64 width = std::abs(header->width), height = header->height;
        if (width > MaxEmfBitmapPixels || height > MaxEmfBitmapPixels)
            return false;
        m_bitmapPixels += width * height;
        return true;
    }

    // A bitmap drawn into the logical rectangle at `x`, `y` of `width` × `height`.
    void BitmapArea(double width, double height)
    {
        const QPointF w = Map(width, 0), h = Map(0, height);
        AddArea((std::abs(w.x()) + std::abs(h.x())) * (std::abs(w.y()) + std::abs(h.y())));
    }

    void Text(qint64 characters)
    {
        const double height = std::abs(m_state.fontHeight) * Stretch();
        AddArea(height * height * double(std::max<qint64>(characters, 1)));
    }

    // One EMRTEXT at `offset`: its characters and its opaque rectangle.
    bool EmrText(qint64 offset)
    {
        if (!Has(offset, 40))
            return false;
        Text(R32(offset + 8));
        if (R32(offset + 16) & kOpaqueText) {
            const auto box = Box(offset + 20);
            if (box)
                AddArea(box->bounds.width() * box->bounds.height());
        }
        return true;
    }

    bool Region(qint64 dataOffset)
    {
        // The region's own bounds (logical units) follow its header's four fields.
        const auto box = Box(dataOffset + 16);
        if (!box)
            return false;
        AddArea(box->bounds.width() * box->bounds.height());
        return true;
    }

    void Select(quint32 handle)
    {
        if (handle & kStockObject) {
            const quint32 stock = handle & ~kStockObject;
            if (stock <= kNullBrushStock) {
                m_state.brush = stock != kNullBrushStock;
            } else if (stock <= kNullPenStock) {
                m_state.pen = stock != kNullPenStock;
                m_state.penWidth = 0;
            } else if (stock >= 10 && stock <= 17) {
                m_state.fontHeight = kDefaultFontHeight;
            }
            return;
        }
        const auto it = m_objects.find(handle);
        if (it == m_objects.end())
            return;
        const Object &object = it->second;
        switch (object.kind) {
        case Object::Kind::Pen:
            m_state.pen = object.draws;
            m_state.penWidth = object.size;
            break;
        case Object::Kind::Brush:
            m_state.brush = object.draws;
            break;
        case Object::Kind::Font:
            m_state.fontHeight = object.size == 0 ? kDefaultFontHeight : object.size;
            break;
        case Object::Kind::Other:
            break;
        }
    }

    bool Create(qint64 handleOffset, Object object)
    {
        if (!Has(handleOffset, 4) || m_objects.size() > std::size_t(MaxEmfRecords))
            return false;
        m_objects[R32(handleOffset)] = object;
        return true;
    }

    bool Transform(bool modify)
    {
        if (!Has(8, modify ? 28 : 24))
            return false;
        const double a = m_record.F32(8), b = m_record.F32(12), c = m_record.F32(16), d = m_record.F32(20);
        DcState &s = m_state;
        const quint32 mode = modify ? R32(32) : 4;
        switch (mode) {
        case 1:
            s.m11 = 1, s.m12 = 0, s.m21 = 0, s.m22 = 1;
            break;
        case 2: { // the new transform first, then the current one
            const double m11 = a * s.m11 + b * s.m21, m12 = a * s.m12 + b * s.m22;
            const double m21 = c * s.m11 + d * s.m21, m22 = c * s.m12 + d * s.m22;
            s.m11 = m11, s.m12 = m12, s.m21 = m21, s.m22 = m22;
            break;
        }
        case 3: {
            const double m11 = s.m11 * a + s.m12 * c, m12 = s.m11 * b + s.m12 * d;
            const double m21 = s.m21 * a + s.m22 * c, m22 = s.m21 * b + s.m22 * d;
            s.m11 = m11, s.m12 = m12, s.m21 = m21, s.m22 = m22;
            break;
        }
        case 4:
            s.m11 = a, s.m12 = b, s.m21 = c, s.m22 = d;
            break;
        default:
            break;
        }
        return true;
    }

    // Counts one record (already known to lie within the data); false when
    // the record is too short for what it declares.
    bool Record(quint32 type)
    {
        using Family = Played (EmfCostReader::*)(quint32);
        static constexpr Family kFamilies[] = {&EmfCostReader::MappingRecord, &EmfCostReader::ObjectRecord,
                                               &EmfCostReader::ShapeRecord,   &EmfCostReader::PathRecord,
                                               &EmfCostReader::FillRecord,    &EmfCostReader::TextRecord,
                                               &EmfCostReader::BitmapRecord};
        for (const Family family : kFamilies) {
            if (const Played played = (this->*family)(type))
                return *played;
        }
        return true; // draws nothing, or nothing the converter draws
    }

    // The page mapping, the world transform, saved and restored states.
    Played MappingRecord(quint32 type)
    {
        DcState &s = m_state;
        switch (type) {
        case kSetMapMode:
            if (!Has(8, 4))
                return false;
            s.mapMode = R32(8);
            return true;
        case kSetWindowExt:
        case kSetViewportExt: {
            if (!Has(8, 8))
                return false;
            const double x = RI32(8), y = RI32(12);
            if (x == 0 || y == 0)
                return true;
            (type == kSetWindowExt ? s.windowExtX : s.viewportExtX) = x;
            (type == kSetWindowExt ? s.windowExtY : s.viewportExtY) = y;
            (type == kSetWindowExt ? s.windowExtSet : s.viewportExtSet) = true;
            return true;
        }
        case kScaleWindowExt:
        case kScaleViewportExt: {
            if (!Has(8, 16))
                return false;
            const double xNum = RI32(8), xDenom = RI32(12), yNum = RI32(16), yDenom = RI32(20);
            if (xNum == 0 || xDenom == 0 || yNum == 0 || yDenom == 0)
                return true;
            (type == kScaleWindowExt ? s.windowExtX : s.viewportExtX) *= xNum / xDenom;
            (type == kScaleWindowExt ? s.windowExtY : s.viewportExtY) *= yNum / yDenom;
            return true;
        }
        case kSetWorldTransform:
            return Transform(false);
        case kModifyWorldTransform:
            return Transform(true);
        case kSaveDc:
            if (m_saved.size() < std::size_t(kMaxSavedStates))
                m_saved.push_back(s);
            return true;
        case kRestoreDc: {
            if (!Has(8, 4))
                return false;
            const qint64 relative = RI32(8);
            if (relative < 0 && -relative <= qint64(m_saved.size())) {
                m_saved.resize(m_saved.size() - std::size_t(-relative - 1));
                s = m_saved.back();
                m_saved.pop_back();
            }
            return true;
        }
        default:
            return std::nullopt;
        }
    }

    // Pens, brushes and fonts made, selected and deleted.
    Played ObjectRecord(quint32 type)
    {
        switch (type) {
        case kCreatePen:
            return Has(12, 8) && Create(8, {Object::Kind::Pen, (R32(12) & 0x0F) != kNullPenStyle, double(RI32(16))});
        case kExtCreatePen:
            return Has(28, 8) && Create(8, {Object::Kind::Pen, (R32(28) & 0x0F) != kNullPenStyle, double(R32(32))});
        case kCreateBrush:
            return Has(12, 4) && Create(8, {Object::Kind::Brush, R32(12) != kNullBrushStyle, 0});
        case kCreateMonoBrush:
        case kCreateDibPatternBrush:
            return Create(8, {Object::Kind::Brush, true, 0});
        case kExtCreateFont:
            return Has(12, 4) && Create(8, {Object::Kind::Font, true, std::abs(double(RI32(12)))});
        case kSelectObject:
            if (!Has(8, 4))
                return false;
            Select(R32(8));
            return true;
        case kDeleteObject:
            if (!Has(8, 4))
                return false;
            m_objects.erase(R32(8));
            return true;
        default:
            return std::nullopt;
        }
    }

    // Shapes, lines and polygons in the current pen and brush.
    Played ShapeRecord(quint32 type)
    {
        DcState &s = m_state;
        switch (type) {
        case kRectangle:
        case kEllipse:
        case kRoundRect:
        case kChord:
        case kPie:
        case kArc:
        case kArcTo: {
            const auto box = Box(8);
            if (!box)
                return false;
            Paint(*box, type != kArc && type != kArcTo);
            return true;
        }
        case kAngleArc: {
            if (!Has(8, 12))
                return false;
            const double x = RI32(8), y = RI32(12), r = R32(16);
            Paint(Points({{x - r, y - r}, {x + r, y - r}, {x + r, y + r}, {x - r, y + r}}, true), false);
            return true;
        }
        case kPolygon:
            return Poly(8, true, false);
        case kPolygon16:
            return Poly(4, true, false);
        case kPolyline:
        case kPolyBezier:
            return Poly(8, false, false);
        case kPolyline16:
        case kPolyBezier16:
            return Poly(4, false, false);
        case kPolylineTo:
        case kPolyBezierTo:
            return Poly(8, false, true);
        case kPolylineTo16:
        case kPolyBezierTo16:
            return Poly(4, false, true);
        case kPolyDraw:
            return Poly(8, false, true);
        case kPolyDraw16:
            return Poly(4, false, true);
        case kPolyPolygon:
            return PolyPoly(8, true);
        case kPolyPolygon16:
            return PolyPoly(4, true);
        case kPolyPolyline:
            return PolyPoly(8, false);
        case kPolyPolyline16:
            return PolyPoly(4, false);
        case kMoveTo:
            if (!Has(8, 8))
                return false;
            s.current = QPointF(RI32(8), RI32(12));
            return true;
        case kLineTo: {
            if (!Has(8, 8))
                return false;
            const QPointF to(RI32(8), RI32(12));
            Paint(Points({s.current, to}, false), false);
            s.current = to;
            return true;
        }
        default:
            return std::nullopt;
        }
    }

    // A path gathered from shapes, then filled or stroked as one.
    Played PathRecord(quint32 type)
    {
        switch (type) {
        case kBeginPath:
            m_inPath = true;
            m_path = Geometry();
            return true;
        case kEndPath:
            m_inPath = false;
            return true;
        case kAbortPath:
        case kSelectClipPath:
            m_inPath = false;
            m_path = Geometry();
            return true;
        case kFillPath:
        case kStrokePath:
        case kStrokeAndFillPath:
            m_inPath = false;
            Paint(m_path, type != kStrokePath, type != kFillPath);
            m_path = Geometry();
            return true;
        default:
            return std::nullopt;
        }
    }

    // Regions and areas filled whole.
    Played FillRecord(quint32 type)
    {
        switch (type) {
        case kFillRgn:
            return Has(24, 4) && Region(32);
        case kFrameRgn:
            return Has(24, 4) && Region(40);
        case kInvertRgn:
        case kPaintRgn:
            return Has(24, 4) && Region(28);
        case kExtFloodFill:
            AddArea(m_pictureArea);
            return true;
        case kGradientFill: {
            if (!Has(24, 4))
                return false;
            const qint64 count = R32(24);
            if (count > MaxEmfPoints || !Has(36, count * 16)) // TRIVERTEX: x, y, four colours
                return false;
            m_points += count;
            std::vector<QPointF> corners;
            corners.reserve(std::size_t(count));
            for (qint64 i = 0; i < count; ++i)
                corners.emplace_back(RI32(36 + i * 16), RI32(36 + i * 16 + 4));
            const Geometry g = Points(corners, false);
            if (!g.empty)
                AddArea(g.bounds.width() * g.bounds.height());
            return true;
        }

        default:
            return std::nullopt;
        }
    }

    // Text in the current font.
    Played TextRecord(quint32 type)
    {
        switch (type) {
        case kExtTextOutA:
        case kExtTextOutW:
            return EmrText(36);
        case kPolyTextOutA:
        case kPolyTextOutW: {
            if (!Has(36, 4))
                return false;
            const qint64 strings = R32(36);
            if (strings > MaxEmfPoints || !Has(40, strings * 40))
                return false;
            m_points += strings;
            for (qint64 i = 0; i < strings; ++i)
                EmrText(40 + i * 40);
            return true;
        }
        case kSmallTextOut: {
            if (!Has(8, 16))
                return false;
            Text(R32(16));
            if ((R32(20) & kOpaqueText) && !(R32(20) & kNoRectText)) {
                if (const auto box = Box(36))
                    AddArea(box->bounds.width() * box->bounds.height());
            }
            return true;
        }

        default:
            return std::nullopt;
        }
    }

    // Bitmaps, counted by the area they cover and by their pixels.
    Played BitmapRecord(quint32 type)
    {
        switch (type) {
        case kBitBlt:
        case kStretchBlt:
        case kMaskBlt:
        case kTransparentBlt:
        case kAlphaBlend:
            if (!Has(24, 16))
                return false;
            BitmapArea(RI32(32), RI32(36));
            return !Has(84, 8) || BitmapPixels(R32(84), R32(88));
        case kPlgBlt: {
            const auto corners = ReadPoints(24, 3, 8);
            if (!corners)
                return false;
            const QPointF a = (*corners)[0], b = (*corners)[1], c = (*corners)[2];
            const QPointF d = b + c - a;
            const Geometry g = Points({a, b, d, c}, true);
            AddArea(g.bounds.width() * g.bounds.height());
            return !Has(96, 8) || BitmapPixels(R32(96), R32(100));
        }
        case kSetDiBitsToDevice:
            if (!Has(24, 40))
                return false;
            BitmapArea(RI32(40), RI32(44));
            return BitmapPixels(R32(48), R32(52));
        case kStretchDiBits:
            if (!Has(24, 56))
                return false;
            BitmapArea(RI32(72), RI32(76));
            return BitmapPixels(R32(48), R32(52));
        default:
            return std::nullopt;
        }
    }

    LittleEndian m_bytes;
    LittleEndian m_record; // the record being read
    double m_pictureWidth = 0, m_pictureHeight = 0, m_pictureArea = 1;
    double m_pixelsPerMm = 1;
    DcState m_state;
    std::vector<DcState> m_saved;
    std::unordered_map<quint32, Object> m_objects;
    bool m_inPath = false;
    Geometry m_path;
    double m_painted = 0;
    qint64 m_points = 0;
    qint64 m_bitmapPixels = 0;
};

} // namespace

std::optional<double> EmfPaintedPictures(const QByteArray &emf) { return EmfCostReader(emf).Read(); }

} // namespace ralvo::pictures
