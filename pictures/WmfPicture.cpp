#include "pictures/WmfPicture.h"

#include "pictures/DibHeader.h"
#include "pictures/LittleEndian.h"
#include "pictures/PictureCost.h"
#include "platform/ShiftJis.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <uwmf.h>

#include <cmath>
#include <cstring>

namespace ralvo::pictures {

namespace {

constexpr std::size_t kMaxSteps = 200000;               // far beyond any logo
constexpr qint64 kMaxPoints = 4 * 1024 * 1024;          // all polygon points of one file
constexpr qint64 kMaxBitmapPixels = 64LL * 1024 * 1024; // all bitmaps of one file
constexpr int kMaxObjects = 65536;
constexpr int kMaxSavedStates = 256;
constexpr int kShiftJisCharset = 128;

QColor ToColor(const U_COLORREF &c) { return QColor(c.Red, c.Green, c.Blue); }

struct FontSpec
{
    QString face = QStringLiteral("Sans Serif");
    int height = 0;     // logical units; negative: character height, positive: cell height
    int escapement = 0; // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 0;
};

struct GraphicsObject
{
    enum class Type { Empty, Pen, Brush, Font, Other };
    Type type = Type::Empty;
    QPen pen;
    QBrush brush;
    FontSpec font;
};

struct DcState
{
    QPen pen{Qt::black, 0};
    QBrush brush{Qt::white};
    FontSpec font;
    QColor textColor = Qt::black;
    QColor backColor = Qt::white;
    bool opaqueBackground = true;
    quint16 textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QPointF windowOrg;
    QPointF windowExt;
    bool haveWindow = false;
    QPointF current;
};

// Builds a BMP file around a packed DIB (header, colour table, pixels) and
// decodes it. Null when the DIB is inconsistent; `unsupported` is set for
// well-formed kinds we do not draw.
QImage DecodeDib(const LittleEndian &dib, qint64 &pixelBudget, bool &unsupported)
{
    unsupported = false;
    const std::optional<DibHeader> header = DibHeader::Read(dib);
    if (!header || header->kind == DibHeader::Kind::Other
        || (header->kind == DibHeader::Kind::Info && header->headerBytes > 124))
        return {};
    const qint64 width = header->width;
    const qint64 height = header->height;
    const quint32 bitCount = header->bitCount;
    const quint32 compression = header->compression;
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767)
        return {};
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return {};
    if (compression == U_BI_JPEG || compression == U_BI_PNG || compression > U_BI_BITFIELDS) {
        unsupported = true;
        return {};
    }
    if (width * height > pixelBudget)
        return {};
    const qint64 colors = header->Colours();
    if (colors > 256 && bitCount <= 8)
        return {};
    if (colors > 65536)
        return {};
    const qint64 pixelsAt = header->PixelsOffset();
    if (pixelsAt > dib.Size())
        return {};
    if (compression == U_BI_RGB || compression == U_BI_BITFIELDS) {
        if (header->RowBytes() * height > dib.Size() - pixelsAt)
            return {};
    }
    pixelBudget -= width * height;

    QByteArray file;
    file.reserve(14 + qsizetype(dib.Size()));
    file.append("BM", 2);
    char field[4];
    qToLittleEndian<quint32>(quint32(14 + dib.Size()), field);
    file.append(field, 4);
    file.append(4, '\0');
    qToLittleEndian<quint32>(quint32(14 + pixelsAt), field);
    file.append(field, 4);
    file.append(dib.Data(), qsizetype(dib.Size()));
    QImage image = QImage::fromData(file, "BMP");
    return ColoursWithinTable(image) ? image : QImage();
}

} // namespace

class WmfReader
{
public:
    // libuemf's readers copy a record's fixed fields before all of them
    // are known to lie within the record; zero padding past the end keeps
    // such reads inside our buffer, while every check uses the true end.
    explicit WmfReader(const QByteArray &data) : m_data(data + QByteArray(kPadding, '\0')), m_end(data.size()) {}

    std::optional<WmfPicture> Read()
    {
        const char *begin = m_data.constData();
        const char *limit = begin + m_end;
        if (m_end < qsizetype(U_SIZE_WMRHEADER))
            return std::nullopt;
        U_WMRPLACEABLE placeable;
        U_WMRHEADER header;
        const int headerBytes = wmfheader_get(begin, limit, &placeable, &header);
        if (headerBytes <= 0 || headerBytes > m_end)
            return std::nullopt;
        // The header record: type 1 (memory) or 2 (disk), 9 words long.
        const quint16 type = LittleEndian(begin, m_end).U16(placeable.Key == 0x9AC6CDD7u ? U_SIZE_WMRPLACEABLE : 0);
        if ((type != 1 && type != 2) || header.Size16w != 9)
            return std::nullopt;
        m_objects.resize(std::min<int>(header.nObjects, kMaxObjects));

        if (placeable.Key == 0x9AC6CDD7u) {
            const U_RECT16 &b = placeable.Dst;
            const double w = double(b.right) - b.left;
            const double h = double(b.bottom) - b.top;
            if (w != 0 && h != 0) {
                m_size = QSizeF(std::abs(w), std::abs(h));
                m_state.windowOrg = QPointF(b.left, b.top);
                m_state.windowExt = QPointF(w, h);
                m_state.haveWindow = true;
            }
        }

        bool ended = false;
        for (const char *rec = begin + headerBytes; rec < limit;) {
            if (limit - rec < qptrdiff(U_SIZE_METARECORD))
                return std::nullopt;
            const std::size_t size = U_WMRRECSAFE_get(rec, limit);
            if (size == 0)
                return std::nullopt;
            const quint8 kind = quint8(rec[4]);
            if (kind == U_WMR_EOF) {
                ended = true;
                break;
            }
            if (!Play(rec, size))
                return std::nullopt;
            if (m_steps->size() > kMaxSteps || m_points > kMaxPoints || m_painted > MaxPaintedPictures)
                return std::nullopt;
            rec += size;
        }
        if (!ended || m_size.isEmpty())
            return std::nullopt;
        WmfPicture picture;
        picture.m_size = m_size;
        picture.m_steps = m_steps;
        return picture;
    }

private:
    // What a family's handler made of a record: empty when the record is
    // not of its family, else whether it was consistent.
    using Played = std::optional<bool>;

    // Maps a logical point through the current window onto the picture frame.
    QPointF Map(double x, double y) const
    {
        const DcState &s = m_state;
        return QPointF((x - s.windowOrg.x()) * m_size.width() / s.windowExt.x(),
                       (y - s.windowOrg.y()) * m_size.height() / s.windowExt.y());
    }
    QPointF Map(const U_POINT16 &p) const { return Map(p.x, p.y); }
    QRectF MapRect(const U_RECT16 &r) const { return QRectF(Map(r.left, r.top), Map(r.right, r.bottom)).normalized(); }
    double ScaleX() const { return std::abs(m_size.width() / m_state.windowExt.x()); }
    double ScaleY() const { return std::abs(m_size.height() / m_state.windowExt.y()); }
    bool Mirrored() const { return (m_state.windowExt.x() < 0) != (m_state.windowExt.y() < 0); }

    // The window must be known before anything is drawn.
    bool CanDraw() const { return m_state.haveWindow && !m_size.isEmpty(); }

    void SetWindowExt(const U_POINT16 &ext)
    {
        if (ext.x == 0 || ext.y == 0)
            return;
        m_state.windowExt = QPointF(ext.x, ext.y);
        m_state.haveWindow = true;
        if (m_size.isEmpty())
            m_size = QSizeF(std::abs(double(ext.x)), std::abs(double(ext.y)));
    }

    QPen ScaledPen() const
    {
        QPen pen = m_state.pen;
        if (pen.style() != Qt::NoPen && pen.widthF() > 0)
            pen.setWidthF(pen.widthF() * (ScaleX() + ScaleY()) / 2);
        return pen;
    }

    // Adds what painting over `area` (frame coordinates) costs, clipped to
    // the picture's frame.
    void AddCost(const QRectF &area)
    {
        const QRectF painted = area.normalized() & QRectF(QPointF(), m_size);
        if (!painted.isEmpty())
            m_painted += painted.width() * painted.height() / (m_size.width() * m_size.height());
    }

    void AddShape(const QPainterPath &path, bool filled)
    {
        const QPen pen = ScaledPen();
        const QBrush brush = filled ? m_state.brush : QBrush(Qt::NoBrush);
        const QRectF bounds = path.boundingRect();
        if (filled && brush.style() != Qt::NoBrush)
            AddCost(bounds);
        if (pen.style() != Qt::NoPen) {
            // A stroke paints about its length times its width, and never
            // more than its bounds grown by half the width.
            const double width = std::max(pen.widthF(), std::hypot(m_size.width(), m_size.height()) / 1000);
            const QRectF grown = bounds.adjusted(-width / 2, -width / 2, width / 2, width / 2);
            const QRectF clipped = grown & QRectF(QPointF(), m_size);
            const double along = std::min(path.length() * width, clipped.width() * clipped.height());
            if (!clipped.isEmpty())
                m_painted += along / (m_size.width() * m_size.height());
        }
        m_steps->push_back([path, pen, brush](QPainter &p) {
            p.setPen(pen);
            p.setBrush(brush);
            p.drawPath(path);
        });
    }

    void AddPolygon(const char *points, int count, bool closed)
    {
        if (count <= 0)
            return;
        m_points += count;
        QPolygonF polygon;
        polygon.reserve(count);
        for (int i = 0; i < count; ++i) {
            U_POINT16 pt;
            std::memcpy(&pt, points + 4 * i, 4);
            polygon << Map(pt);
        }
        QPainterPath path;
        path.setFillRule(m_state.fillRule);
        path.addPolygon(polygon);
        if (closed)
            path.closeSubpath();
        AddShape(path, closed);
    }

    void AddArc(const U_RECT16 &rect, const U_POINT16 &start, const U_POINT16 &end, int kind)
    {
        const QRectF box = MapRect(rect);
        if (box.isEmpty())
            return;
        const QPointF c = box.center();
        auto angle = [&](const QPointF &p) {
            return std::atan2(-(p.y() - c.y()) / box.height(), (p.x() - c.x()) / box.width()) * 180 / M_PI;
        };
        const double a1 = angle(Map(start));
        const double a2 = angle(Map(end));
        double sweep = Mirrored() ? a1 - a2 : a2 - a1;
        while (sweep <= 0)
            sweep += 360;
        if (Mirrored())
            sweep = -sweep;
        QPainterPath path;
        if (kind == U_WMR_PIE) {
            path.moveTo(c);
            path.arcTo(box, a1, sweep);
            path.closeSubpath();
        } else {
            path.arcMoveTo(box, a1);
            path.arcTo(box, a1, sweep);
            if (kind == U_WMR_CHORD)
                path.closeSubpath();
        }
        AddShape(path, kind != U_WMR_ARC);
    }

    void AddText(const QPointF &at, const QByteArray &bytes, const std::optional<QRectF> &opaqueRect)
    {
        const DcState &s = m_state;
        const QString text =
            s.font.charset == kShiftJisCharset ? platform::DecodeShiftJis(bytes).text : QString::fromLatin1(bytes);
        const FontSpec font = s.font;
        // A height of 0 asks for the default size.
        const double height = (font.height == 0 ? 12 : std::abs(font.height)) * ScaleY();
        const bool cellHeight = font.height > 0;
        const QColor color = s.textColor;
        const QColor back = s.backColor;
        const bool opaque = s.opaqueBackground;
        const quint16 align = s.textAlign;
        const double angle = -font.escapement / 10.0;
        // About one square of the font's height per byte, near the point.
        const double extent = height * std::max<qsizetype>(bytes.size(), 1);
        AddCost(QRectF(at.x() - extent / 2, at.y() - height / 2, extent, height));
        if (opaqueRect)
            AddCost(*opaqueRect);
        m_steps->push_back([=](QPainter &p) {
            if (opaqueRect)
                p.fillRect(*opaqueRect, back);
            QFont f(font.face);
            f.setPixelSize(100);
            f.setWeight(QFont::Weight(font.weight <= 0 ? 400 : std::min(font.weight, 1000)));
            f.setItalic(font.italic);
            f.setUnderline(font.underline);
            f.setStrikeOut(font.strikeOut);
            const QFontMetricsF m(f);
            const double scale = height / (cellHeight ? m.height() : 100.0);
            const double width = m.horizontalAdvance(text);
            double x = 0;
            if ((align & U_TA_CENTER) == U_TA_CENTER)
                x = -width / 2;
            else if (align & U_TA_RIGHT)
                x = -width;
            double y = m.ascent();
            if ((align & U_TA_BASELINE) == U_TA_BASELINE)
                y = 0;
            else if (align & U_TA_BOTTOM)
                y = -m.descent();
            p.save();
            p.translate(at);
            p.rotate(angle);
            p.scale(scale, scale);
            if (opaque)
                p.fillRect(QRectF(x, y - m.ascent(), width, m.height()), back);
            p.setFont(f);
            p.setPen(color);
            p.drawText(QPointF(x, y), text);
            p.restore();
        });
    }

    bool AddBitmap(const U_POINT16 &dst, const U_POINT16 &cDst, const U_POINT16 &src, const U_POINT16 &cSrc,
                   const LittleEndian &dib)
    {
        bool unsupported = false;
        QImage image = DecodeDib(dib, m_pixelBudget, unsupported);
        if (image.isNull())
            return unsupported; // a damaged bitmap makes the file unreadable
        // The source rectangle, counted from the top (bottom-up DIBs count
        // their y from the bottom row).
        QRect source(src.x, image.height() - src.y - cSrc.y, cSrc.x, cSrc.y);
        if (cSrc.x > 0 && cSrc.y > 0 && source != image.rect() && image.rect().contains(source))
            image = image.copy(source);
        const QRectF target = QRectF(Map(dst), Map(dst.x + cDst.x, dst.y + cDst.y));
        const bool flipX = target.width() < 0;
        const bool flipY = target.height() < 0;
        if (flipX || flipY)
            image = image.mirrored(flipX, flipY);
        const QRectF rect = target.normalized();
        AddCost(rect);
        m_steps->push_back([rect, image](QPainter &p) {
            p.save();
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawImage(rect, image);
            p.restore();
        });
        return true;
    }

    void AddFill(const QRectF &rect, const QBrush &brush)
    {
        AddCost(rect);
        m_steps->push_back([rect, brush](QPainter &p) { p.fillRect(rect, brush); });
    }

    bool CreateObject(GraphicsObject object)
    {
        for (auto &slot : m_objects) {
            if (slot.type == GraphicsObject::Type::Empty) {
                slot = std::move(object);
                return true;
            }
        }
        if (int(m_objects.size()) >= kMaxObjects)
            return false;
        m_objects.push_back(std::move(object));
        return true;
    }

    static QPen MakePen(const U_PEN &pen)
    {
        const int style = pen.Style & 0x0F;
        if (style == U_PS_NULL)
            return QPen(Qt::NoPen);
        QPen result(ToColor(pen.Color), pen.Widthw[0]);
        switch (style) {
        case U_PS_DASH:
            result.setStyle(Qt::DashLine);
            break;
        case U_PS_DOT:
            result.setStyle(Qt::DotLine);
            break;
        case U_PS_DASHDOT:
            result.setStyle(Qt::DashDotLine);
            break;
        case U_PS_DASHDOTDOT:
            result.setStyle(Qt::DashDotDotLine);
            break;
        default:
            break;
        }
        return result;
    }

    static QBrush MakeBrush(const U_WLOGBRUSH &brush)
    {
        const QColor color = ToColor(brush.Color);
        switch (brush.Style) {
        case U_BS_SOLID:
            return QBrush(color);
        case U_BS_HATCHED:
            switch (brush.Hatch) {
            case U_HS_HORIZONTAL:
                return QBrush(color, Qt::HorPattern);
            case U_HS_VERTICAL:
                return QBrush(color, Qt::VerPattern);
            case U_HS_FDIAGONAL:
                return QBrush(color, Qt::FDiagPattern);
            case U_HS_BDIAGONAL:
                return QBrush(color, Qt::BDiagPattern);
            case U_HS_CROSS:
                return QBrush(color, Qt::CrossPattern);
            default:
                return QBrush(color, Qt::DiagCrossPattern);
            }
        case U_BS_NULL:
            return QBrush(Qt::NoBrush);
        default:
            return QBrush(Qt::gray); // patterns: a neutral fill
        }
    }

    // Plays one record (already known to lie within the data); false when
    // the record is inconsistent.
    bool Play(const char *rec, std::size_t size)
    {
        using Family = Played (WmfReader::*)(const char *, std::size_t);
        static constexpr Family kFamilies[] = {&WmfReader::PlayState, &WmfReader::PlayObject, &WmfReader::PlayShape,
                                               &WmfReader::PlayText, &WmfReader::PlayBitmap};
        for (const Family family : kFamilies) {
            if (const Played played = (this->*family)(rec, size))
                return *played;
        }
        // Records that change nothing we draw (mapping mode, clipping,
        // palettes, escapes, ...) are passed over.
        return true;
    }

    // The window, colours, modes of text and filling, saved and restored states.
    Played PlayState(const char *rec, std::size_t /*size*/)
    {
        const quint8 kind = quint8(rec[4]);
        switch (kind) {
        case U_WMR_SETWINDOWORG: {
            U_POINT16 p;
            if (!U_WMRSETWINDOWORG_get(rec, &p))
                return false;
            m_state.windowOrg = QPointF(p.x, p.y);
            return true;
        }
        case U_WMR_SETWINDOWEXT: {
            U_POINT16 p;
            if (!U_WMRSETWINDOWEXT_get(rec, &p))
                return false;
            SetWindowExt(p);
            return true;
        }
        case U_WMR_OFFSETWINDOWORG: {
            U_POINT16 p;
            if (!U_WMROFFSETWINDOWORG_get(rec, &p))
                return false;
            m_state.windowOrg += QPointF(p.x, p.y);
            return true;
        }
        case U_WMR_SETBKCOLOR: {
            U_COLORREF c;
            if (!U_WMRSETBKCOLOR_get(rec, &c))
                return false;
            m_state.backColor = ToColor(c);
            return true;
        }
        case U_WMR_SETTEXTCOLOR: {
            U_COLORREF c;
            if (!U_WMRSETTEXTCOLOR_get(rec, &c))
                return false;
            m_state.textColor = ToColor(c);
            return true;
        }
        case U_WMR_SETBKMODE: {
            uint16_t mode = 0;
            if (!U_WMRSETBKMODE_get(rec, &mode))
                return false;
            m_state.opaqueBackground = mode == U_OPAQUE;
            return true;
        }
        case U_WMR_SETTEXTALIGN: {
            uint16_t mode = 0;
            if (!U_WMRSETTEXTALIGN_get(rec, &mode))
                return false;
            m_state.textAlign = mode;
            return true;
        }
        case U_WMR_SETPOLYFILLMODE: {
            uint16_t mode = 0;
            if (!U_WMRSETPOLYFILLMODE_get(rec, &mode))
                return false;
            m_state.fillRule = mode == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill;
            return true;
        }
        case U_WMR_SAVEDC:
            if (m_saved.size() < kMaxSavedStates)
                m_saved.push_back(m_state);
            return true;
        case U_WMR_RESTOREDC: {
            int16_t which = 0;
            if (!U_WMRRESTOREDC_get(rec, &which))
                return false;
            // Negative: relative to the current level; positive: absolute.
            const qsizetype keep = which < 0 ? qsizetype(m_saved.size()) + which : which - 1;
            if (keep >= 0 && keep < qsizetype(m_saved.size())) {
                m_state = m_saved[keep];
                m_saved.resize(keep);
            }
            return true;
        }
        default:
            return std::nullopt;
        }
    }

    // Pens, brushes and fonts made, selected and deleted.
    Played PlayObject(const char *rec, std::size_t size)
    {
        const quint8 kind = quint8(rec[4]);
        const char *end = rec + size;
        switch (kind) {
        case U_WMR_CREATEPENINDIRECT: {
            U_PEN pen;
            if (!U_WMRCREATEPENINDIRECT_get(rec, &pen))
                return false;
            GraphicsObject object;
            object.type = GraphicsObject::Type::Pen;
            object.pen = MakePen(pen);
            return CreateObject(object);
        }
        case U_WMR_CREATEBRUSHINDIRECT: {
            const char *data = nullptr;
            if (!U_WMRCREATEBRUSHINDIRECT_get(rec, &data) || end - data < qptrdiff(U_SIZE_WLOGBRUSH))
                return false;
            U_WLOGBRUSH brush;
            std::memcpy(&brush, data, U_SIZE_WLOGBRUSH);
            GraphicsObject object;
            object.type = GraphicsObject::Type::Brush;
            object.brush = MakeBrush(brush);
            return CreateObject(object);
        }
        case U_WMR_CREATEFONTINDIRECT: {
            const char *data = nullptr;
            if (!U_WMRCREATEFONTINDIRECT_get(rec, &data) || end - data < qptrdiff(U_SIZE_FONT_CORE))
                return false;
            const char *name = data + U_SIZE_FONT_CORE;
            const qsizetype room = std::min<qsizetype>(end - name, 32);
            const qsizetype nameLength = qsizetype(strnlen(name, std::size_t(room)));
            const QByteArray face(name, nameLength);
            const LittleEndian fields(data, end - data);
            const quint8 charset = fields.U8(offsetof(U_FONT, CharSet));
            GraphicsObject object;
            object.type = GraphicsObject::Type::Font;
            object.font.height = fields.I16(offsetof(U_FONT, Height));
            object.font.escapement = fields.I16(offsetof(U_FONT, Escapement));
            object.font.weight = fields.I16(offsetof(U_FONT, Weight));
            object.font.italic = fields.U8(offsetof(U_FONT, Italic)) != 0;
            object.font.underline = fields.U8(offsetof(U_FONT, Underline)) != 0;
            object.font.strikeOut = fields.U8(offsetof(U_FONT, StrikeOut)) != 0;
            object.font.face =
                charset == kShiftJisCharset ? platform::DecodeShiftJis(face).text : QString::fromLatin1(face);
            object.font.charset = charset;
            return CreateObject(object);
        }
        case U_WMR_CREATEPALETTE:
        case U_WMR_CREATEPATTERNBRUSH:
        case U_WMR_CREATEREGION:
        case U_WMR_DIBCREATEPATTERNBRUSH: {
            GraphicsObject object;
            object.type = GraphicsObject::Type::Other;
            if (kind == U_WMR_DIBCREATEPATTERNBRUSH || kind == U_WMR_CREATEPATTERNBRUSH) {
                object.type = GraphicsObject::Type::Brush;
                object.brush = QBrush(Qt::gray);
            }
            return CreateObject(object);
        }
        case U_WMR_DELETEOBJECT: {
            uint16_t index = 0;
            if (!U_WMRDELETEOBJECT_get(rec, &index))
                return false;
            if (index < m_objects.size())
                m_objects[index] = GraphicsObject{};
            return true;
        }
        case U_WMR_SELECTOBJECT: {
            uint16_t index = 0;
            if (!U_WMRSELECTOBJECT_get(rec, &index))
                return false;
            if (index >= m_objects.size())
                return true;
            const GraphicsObject &object = m_objects[index];
            switch (object.type) {
            case GraphicsObject::Type::Pen:
                m_state.pen = object.pen;
                break;
            case GraphicsObject::Type::Brush:
                m_state.brush = object.brush;
                break;
            case GraphicsObject::Type::Font:
                m_state.font = object.font;
                break;
            default:
                break;
            }
            return true;
        }
        default:
            return std::nullopt;
        }
    }

    // Lines, rectangles, ellipses, arcs and polygons in the current pen and brush.
    Played PlayShape(const char *rec, std::size_t size)
    {
        const quint8 kind = quint8(rec[4]);
        const char *end = rec + size;
        switch (kind) {
        case U_WMR_MOVETO:
        case U_WMR_LINETO: {
            U_POINT16 p;
            if (!(kind == U_WMR_MOVETO ? U_WMRMOVETO_get(rec, &p) : U_WMRLINETO_get(rec, &p)))
                return false;
            if (!CanDraw())
                return false;
            const QPointF to = Map(p);
            if (kind == U_WMR_LINETO) {
                QPainterPath path(m_state.current);
                path.lineTo(to);
                AddShape(path, false);
            }
            m_state.current = to;
            return true;
        }
        case U_WMR_RECTANGLE:
        case U_WMR_ELLIPSE: {
            U_RECT16 r;
            if (!(kind == U_WMR_RECTANGLE ? U_WMRRECTANGLE_get(rec, &r) : U_WMRELLIPSE_get(rec, &r)))
                return false;
            if (!CanDraw())
                return false;
            QPainterPath path;
            if (kind == U_WMR_RECTANGLE)
                path.addRect(MapRect(r));
            else
                path.addEllipse(MapRect(r));
            AddShape(path, true);
            return true;
        }
        case U_WMR_ROUNDRECT: {
            int16_t w = 0;
            int16_t h = 0;
            U_RECT16 r;
            if (!U_WMRROUNDRECT_get(rec, &w, &h, &r))
                return false;
            if (!CanDraw())
                return false;
            QPainterPath path;
            path.addRoundedRect(MapRect(r), std::abs(w) * ScaleX() / 2, std::abs(h) * ScaleY() / 2);
            AddShape(path, true);
            return true;
        }
        case U_WMR_ARC:
        case U_WMR_PIE:
        case U_WMR_CHORD: {
            U_POINT16 a;
            U_POINT16 b;
            U_RECT16 r;
            const int ok = kind == U_WMR_ARC   ? U_WMRARC_get(rec, &a, &b, &r)
                           : kind == U_WMR_PIE ? U_WMRPIE_get(rec, &a, &b, &r)
                                               : U_WMRCHORD_get(rec, &a, &b, &r);
            if (!ok || !CanDraw())
                return false;
            AddArc(r, a, b, kind);
            return true;
        }
        case U_WMR_POLYGON:
        case U_WMR_POLYLINE: {
            uint16_t count = 0;
            const char *points = nullptr;
            const int ok = kind == U_WMR_POLYGON ? U_WMRPOLYGON_get(rec, &count, &points)
                                                 : U_WMRPOLYLINE_get(rec, &count, &points);
            if (!ok || end - points < qptrdiff(count) * 4 || !CanDraw())
                return false;
            AddPolygon(points, count, kind == U_WMR_POLYGON);
            return true;
        }
        case U_WMR_POLYPOLYGON: {
            uint16_t polygons = 0;
            const uint16_t *counts = nullptr;
            const char *points = nullptr;
            if (!U_WMRPOLYPOLYGON_get(rec, &polygons, &counts, &points) || !CanDraw())
                return false;
            const char *countBytes = reinterpret_cast<const char *>(counts);
            if (end - countBytes < qptrdiff(polygons) * 2)
                return false;
            const LittleEndian countFields(countBytes, end - countBytes);
            qint64 total = 0;
            for (int i = 0; i < polygons; ++i)
                total += countFields.U16(2 * i);
            if (end - points < total * 4)
                return false;
            m_points += total;
            QPainterPath path;
            path.setFillRule(m_state.fillRule);
            const char *at = points;
            for (int i = 0; i < polygons; ++i) {
                const int n = countFields.U16(2 * i);
                QPolygonF polygon;
                for (int k = 0; k < n; ++k, at += 4) {
                    U_POINT16 pt;
                    std::memcpy(&pt, at, 4);
                    polygon << Map(pt);
                }
                path.addPolygon(polygon);
                path.closeSubpath();
            }
            AddShape(path, true);
            return true;
        }
        default:
            return std::nullopt;
        }
    }

    // Text in the current font, colours and alignment.
    Played PlayText(const char *rec, std::size_t size)
    {
        const quint8 kind = quint8(rec[4]);
        const char *end = rec + size;
        switch (kind) {
        case U_WMR_TEXTOUT: {
            // Length, the string padded to even, then y and x.
            if (size < U_SIZE_WMRTEXTOUT)
                return false;
            const int16_t length = LittleEndian(rec, qint64(size)).I16(U_SIZE_METARECORD);
            if (length < 0 || qint64(U_SIZE_WMRTEXTOUT) + ((length + 1) & ~1) + 4 > qint64(size))
                return false;
            U_POINT16 at;
            int16_t len = 0;
            const char *text = nullptr;
            if (!U_WMRTEXTOUT_get(rec, &at, &len, &text) || !CanDraw())
                return false;
            AddText(Map(at), QByteArray(text, length), std::nullopt);
            return true;
        }
        case U_WMR_EXTTEXTOUT: {
            if (size < U_SIZE_WMREXTTEXTOUT)
                return false;
            const LittleEndian fields(rec, qint64(size));
            const int16_t length = fields.I16(U_SIZE_METARECORD + 4);
            const uint16_t options = fields.U16(U_SIZE_METARECORD + 6);
            const qint64 rectBytes = (options & (U_ETO_OPAQUE | U_ETO_CLIPPED)) ? U_SIZE_RECT16 : 0;
            if (length < 0 || qint64(U_SIZE_WMREXTTEXTOUT) + rectBytes + length > qint64(size))
                return false;
            U_POINT16 at;
            int16_t len = 0;
            uint16_t opts = 0;
            const char *text = nullptr;
            const int16_t *dx = nullptr;
            U_RECT16 rect;
            if (!U_WMREXTTEXTOUT_get(rec, &at, &len, &opts, &text, &dx, &rect) || !CanDraw())
                return false;
            if (text < rec || end - text < length)
                return false;
            std::optional<QRectF> opaque;
            if (options & U_ETO_OPAQUE)
                opaque = MapRect(rect);
            AddText(Map(at), QByteArray(text, length), opaque);
            return true;
        }
        default:
            return std::nullopt;
        }
    }

    // Bitmaps, and rectangles filled by raster operations.
    Played PlayBitmap(const char *rec, std::size_t size)
    {
        const quint8 kind = quint8(rec[4]);
        const char *end = rec + size;
        switch (kind) {
        case U_WMR_PATBLT: {
            U_POINT16 dst;
            U_POINT16 cwh;
            uint32_t rop = 0;
            if (!U_WMRPATBLT_get(rec, &dst, &cwh, &rop) || !CanDraw())
                return false;
            const QRectF rect = QRectF(Map(dst), Map(dst.x + cwh.x, dst.y + cwh.y)).normalized();
            if (rop == U_PATCOPY)
                AddFill(rect, m_state.brush);
            else if (rop == U_WHITENESS)
                AddFill(rect, Qt::white);
            else if (rop == U_BLACKNESS)
                AddFill(rect, Qt::black);
            return true;
        }
        case U_WMR_STRETCHDIB: {
            U_POINT16 dst, cDst, src, cSrc;
            uint16_t usage = 0;
            uint32_t rop = 0;
            const char *dib = nullptr;
            if (size < U_SIZE_WMRSTRETCHDIB || !U_WMRSTRETCHDIB_get(rec, &dst, &cDst, &src, &cSrc, &usage, &rop, &dib))
                return false;
            if (!CanDraw() || dib < rec || dib > end)
                return false;
            return AddBitmap(dst, cDst, src, cSrc, LittleEndian(dib, end - dib));
        }
        case U_WMR_DIBSTRETCHBLT:
        case U_WMR_DIBBITBLT: {
            U_POINT16 dst, cDst, src, cSrc;
            uint32_t rop = 0;
            const char *dib = nullptr;
            const std::size_t minimum = kind == U_WMR_DIBBITBLT ? U_SIZE_WMRDIBBITBLT_PX : U_SIZE_WMRDIBSTRETCHBLT_PX;
            if (size < minimum)
                return false;
            const int ok = kind == U_WMR_DIBBITBLT ? U_WMRDIBBITBLT_get(rec, &dst, &cDst, &src, &rop, &dib)
                                                   : U_WMRDIBSTRETCHBLT_get(rec, &dst, &cDst, &src, &cSrc, &rop, &dib);
            if (!ok || !CanDraw())
                return false;
            if (kind == U_WMR_DIBBITBLT)
                cSrc = cDst;
            if (!dib) {
                if (rop == U_PATCOPY)
                    AddFill(QRectF(Map(dst), Map(dst.x + cDst.x, dst.y + cDst.y)).normalized(), m_state.brush);
                return true;
            }
            if (dib < rec || dib > end)
                return false;
            return AddBitmap(dst, cDst, src, cSrc, LittleEndian(dib, end - dib));
        }
        default:
            return std::nullopt;
        }
    }

    static constexpr int kPadding = 64;
    QByteArray m_data;
    qsizetype m_end = 0;
    QSizeF m_size;
    DcState m_state;
    std::vector<DcState> m_saved;
    std::vector<GraphicsObject> m_objects;
    qint64 m_pixelBudget = kMaxBitmapPixels;
    qint64 m_points = 0;
    double m_painted = 0; // in whole pictures
    std::shared_ptr<std::vector<WmfPicture::Step>> m_steps = std::make_shared<std::vector<WmfPicture::Step>>();
};

std::optional<WmfPicture> WmfPicture::FromData(const QByteArray &data) { return WmfReader(data).Read(); }

void WmfPicture::Draw(QPainter &painter, const QRectF &target) const
{
    if (!m_steps || m_size.isEmpty() || target.isEmpty())
        return;
    painter.save();
    // Nothing lands outside the picture's frame.
    painter.setClipRect(target, Qt::IntersectClip);
    painter.translate(target.topLeft());
    painter.scale(target.width() / m_size.width(), target.height() / m_size.height());
    for (const Step &step : *m_steps)
        step(painter);
    painter.restore();
}

} // namespace ralvo::pictures
