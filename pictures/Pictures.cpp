#include "pictures/Pictures.h"

#include "pictures/DibHeader.h"
#include "pictures/LittleEndian.h"
#include "pictures/PictureCost.h"
#include "store/FileReader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <emf2svg.h>

#include <cstdlib>
#include <cstring>

namespace ralvo::pictures {

namespace {

// Reads the image the reader offers; for an icon, its largest image.
std::optional<QImage> ReadImage(const QByteArray &data, const char *format, bool pickLargest)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    QImage best;
    const int count = pickLargest ? std::clamp(reader.imageCount(), 1, 256) : 1;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        QImage image = reader.read();
        if (image.isNull() || !ColoursWithinTable(image))
            continue;
        if (best.isNull() || qint64(image.width()) * image.height() > qint64(best.width()) * best.height())
            best = std::move(image);
    }
    if (best.isNull())
        return std::nullopt;
    return best;
}

// Whether an RLE4 or RLE8 pixel stream from `at` ends (end of bitmap, or
// every row given) before the data does.
bool RleComplete(const LittleEndian &d, qint64 at, bool fourBit, qint64 height)
{
    qint64 row = 0;
    while (d.Has(at, 2)) {
        const quint8 count = d.U8(at);
        const quint8 code = d.U8(at + 1);
        at += 2;
        if (count > 0)
            continue; // a run of one value
        if (code == 0) {
            if (++row >= height)
                return true;
        } else if (code == 1) {
            return true;
        } else if (code == 2) {
            if (!d.Has(at, 2))
                return false;
            row += d.U8(at + 1);
            at += 2;
        } else {
            const qint64 bytes = fourBit ? (code + 1) / 2 : code;
            at += (bytes + 1) & ~1; // padded to a word
        }
    }
    return false;
}

// Whether a packed DIB (header, colours, pixels) holds all the pixels its
// header declares. `pixelsAt` is where the pixels start, or -1 to derive it
// from the header; an icon's DIB holds two images (colours, then the 1-bit
// mask) in twice the height.
bool DibComplete(const LittleEndian &dib, qint64 pixelsAt, bool icon)
{
    const std::optional<DibHeader> header = DibHeader::Read(dib);
    if (!header || header->kind == DibHeader::Kind::Other)
        return false;
    const qint64 width = header->width;
    const qint64 height = icon ? header->height / 2 : header->height;
    const qint64 bits = header->bitCount;
    if (width <= 0 || height <= 0 || bits <= 0 || bits > 32)
        return false;
    if (pixelsAt < 0)
        pixelsAt = header->PixelsOffset();
    if (pixelsAt > dib.Size())
        return false;
    switch (header->compression) {
    case 0: // uncompressed
    case 3: // bit fields
    case 6: {
        const qint64 mask = icon ? (width + 31) / 32 * 4 : 0;
        return pixelsAt + (header->RowBytes() + mask) * height <= dib.Size();
    }
    case 1:
    case 2:
        return !icon && RleComplete(dib, pixelsAt, header->compression == 2, height);
    default:
        return false;
    }
}

// A BMP file whose header's pixels all lie within the data. Qt's reader
// gives a picture for a file cut short, with whatever memory held in the
// rows that are missing.
bool BitmapComplete(const QByteArray &data)
{
    const LittleEndian d(data);
    if (d.Size() < 26 || !data.startsWith("BM"))
        return false;
    const qint64 pixelsAt = qint64(d.U32(10)) - 14;
    return pixelsAt >= 12 && DibComplete(d.Part(14, d.Size() - 14), pixelsAt, false);
}

bool IsPng(const QByteArray &d, qint64 at, qint64 size)
{
    return size >= 8 && std::memcmp(d.constData() + at, "\x89PNG\r\n\x1a\n", 8) == 0;
}

// A PNG stream whose chunks all lie within the `size` bytes from `at`, up
// to its end chunk.
bool PngComplete(const QByteArray &d, qint64 at, qint64 size)
{
    if (!IsPng(d, at, size))
        return false;
    const qint64 end = at + size;
    for (qint64 chunk = at + 8; chunk + 12 <= end;) {
        const qint64 length = qFromBigEndian<quint32>(d.constData() + chunk);
        if (length > end - chunk - 12)
            return false;
        if (std::memcmp(d.constData() + chunk + 4, "IEND", 4) == 0)
            return true;
        chunk += 12 + length;
    }
    return false;
}

// An icon file whose every image (a DIB or a PNG) lies whole within the data.
bool IconComplete(const QByteArray &data)
{
    const LittleEndian d(data);
    if (d.Size() < 6 || d.U16(0) != 0 || (d.U16(2) != 1 && d.U16(2) != 2))
        return false;
    const qint64 count = d.U16(4);
    if (count == 0 || 6 + 16 * count > d.Size())
        return false;
    for (qint64 i = 0; i < count; ++i) {
        const qint64 size = d.U32(6 + 16 * i + 8);
        const qint64 at = d.U32(6 + 16 * i + 12);
        if (at < 6 + 16 * count || at > d.Size() || size > d.Size() - at)
            return false;
        if (IsPng(data, at, size) ? !PngComplete(data, at, size) : !DibComplete(d.Part(at, size), -1, true))
            return false;
    }
    return true;
}

// A JPEG stream with its end marker (a cut one decodes with its rest grey).
bool JpegComplete(const QByteArray &d) { return d.startsWith("\xFF\xD8") && d.lastIndexOf("\xFF\xD9") > 2; }

// Only what starts with an EMF header goes to the converter.
bool LooksLikeEmf(const QByteArray &data)
{
    // EMR_HEADER: type 1, size >= 88, signature " EMF" at byte 40.
    const LittleEndian d(data);
    if (d.Size() < 88)
        return false;
    // The file's length (byte 48) must all be there.
    return d.U32(0) == 1 && d.U32(4) >= 88 && d.U32(4) <= quint32(d.Size()) && d.U32(40) == 0x464D4520u
           && d.U32(48) <= quint32(d.Size());
}

// libemf2svg turns text given as glyph indices back into characters through
// fontconfig and then shuts fontconfig down, which aborts a program whose
// fonts come from fontconfig (ours). Such texts are blanked before the
// conversion; the rest of the picture stays. Empty when the records do not
// chain up to an end-of-file record within the data.
std::optional<QByteArray> WithoutGlyphIndexText(QByteArray emf)
{
    constexpr quint32 kExtTextOutA = 83, kExtTextOutW = 84, kPolyTextOutA = 96, kPolyTextOutW = 97;
    constexpr quint32 kEof = 14, kGlyphIndex = 0x10, kEmrTextSize = 40;
    char *data = emf.data();
    const qint64 size = emf.size();
    const LittleEndian fields(data, size);
    // One U_EMRTEXT at `text` of the record at `record` (`recordSize` bytes).
    auto blank = [&](qint64 record, qint64 recordSize, qint64 text, int charBytes) {
        if (text + kEmrTextSize > record + recordSize)
            return;
        const quint32 options = fields.U32(text + 16);
        if (!(options & kGlyphIndex))
            return;
        qToLittleEndian<quint32>(options & ~kGlyphIndex, data + text + 16);
        const qint64 chars = fields.U32(text + 8);
        const qint64 at = fields.U32(text + 12);
        if (at < 0 || chars < 0 || at + chars * charBytes > recordSize)
            return;
        for (qint64 i = 0; i < chars; ++i) {
            data[record + at + i * charBytes] = ' ';
            if (charBytes == 2)
                data[record + at + i * 2 + 1] = 0;
        }
    };
    for (qint64 off = 0; off + 8 <= size;) {
        const quint32 type = fields.U32(off);
        const qint64 recordSize = fields.U32(off + 4);
        if (recordSize < 8 || recordSize % 4 != 0 || recordSize > size - off)
            return std::nullopt;
        if (type == kExtTextOutA || type == kExtTextOutW) {
            blank(off, recordSize, off + 36, type == kExtTextOutW ? 2 : 1);
        } else if ((type == kPolyTextOutA || type == kPolyTextOutW) && recordSize >= 40) {
            const qint64 count = fields.U32(off + 36);
            for (qint64 i = 0; i < count && 40 + (i + 1) * kEmrTextSize <= recordSize; ++i)
                blank(off, recordSize, off + 40 + i * kEmrTextSize, type == kPolyTextOutW ? 2 : 1);
        } else if (type == kEof) {
            return emf;
        }
        off += recordSize;
    }
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> EmfToSvg(const QByteArray &emf)
{
    if (!LooksLikeEmf(emf))
        return std::nullopt;
    // A drawing that would cost too much is never converted.
    const std::optional<double> painted = EmfPaintedPictures(emf);
    if (!painted || *painted > MaxPaintedPictures)
        return std::nullopt;
    std::optional<QByteArray> copy = WithoutGlyphIndexText(emf);
    if (!copy)
        return std::nullopt;
    generatorOptions options{};
    options.nameSpace = const_cast<char *>("svg");
    options.verbose = false;
    options.emfplus = false; // EMF+ files carry plain EMF records for other readers
    options.svgDelimiter = true;
    options.imgWidth = 0;
    options.imgHeight = 0;
    char *out = nullptr;
    size_t outLength = 0;
    const int ok = emf2svg(copy->data(), size_t(copy->size()), &out, &outLength, &options);
    std::optional<QByteArray> svg;
    if (ok && out && outLength > 0)
        svg = QByteArray(out, qsizetype(outLength));
    std::free(out);
    // The renderer would read other files for a reference: only pictures
    // carried inside the metafile itself (data: addresses) are let through.
    if (svg) {
        for (qsizetype at = svg->indexOf("href="); at >= 0; at = svg->indexOf("href=", at + 5)) {
            const QByteArray value = svg->mid(at + 6, 5);
            if (!value.startsWith("data:") && !value.startsWith('#'))
                return std::nullopt;
        }
    }
    return svg;
}

std::optional<Picture::Format> Picture::FormatOfPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"bmp")
        return Format::Bitmap;
    if (suffix == u"ico")
        return Format::Icon;
    if (suffix == u"emf")
        return Format::Emf;
    if (suffix == u"wmf")
        return Format::Wmf;
    if (suffix == u"png")
        return Format::Png;
    if (suffix == u"jpg" || suffix == u"jpeg")
        return Format::Jpeg;
    return std::nullopt;
}

std::optional<Picture> Picture::Load(const QString &path)
{
    const auto format = FormatOfPath(path);
    if (!format)
        return std::nullopt;
    // A FIFO or device named as a picture is refused, never waited on.
    const store::FileReadResult file = store::ReadRegularFile(path, MaxFileBytes);
    if (!file.ok())
        return std::nullopt;
    return FromData(file.bytes, *format);
}

std::optional<Picture> Picture::FromData(const QByteArray &data, Format format)
{
    switch (format) {
    case Format::Bitmap:
    case Format::Icon:
    case Format::Png:
    case Format::Jpeg: {
        // A picture cut short is unreadable, never drawn with unknown rows.
        const bool complete = format == Format::Bitmap ? BitmapComplete(data)
                              : format == Format::Icon ? IconComplete(data)
                              : format == Format::Png  ? PngComplete(data, 0, data.size())
                                                       : JpegComplete(data);
        if (!complete)
            return std::nullopt;
        const char *name = format == Format::Bitmap ? "bmp"
                           : format == Format::Icon ? "ico"
                           : format == Format::Png  ? "png"
                                                    : "jpeg";
        auto image = ReadImage(data, name, format == Format::Icon);
        if (!image)
            return std::nullopt;
        const QSizeF size = image->size();
        return Picture(std::move(*image), size);
    }
    case Format::Emf: {
        std::optional<QByteArray> svg = EmfToSvg(data);
        if (!svg)
            return std::nullopt;
        auto renderer = std::make_shared<QSvgRenderer>(*svg);
        if (!renderer->isValid())
            return std::nullopt;
        const QSizeF size =
            renderer->viewBoxF().isEmpty() ? QSizeF(renderer->defaultSize()) : renderer->viewBoxF().size();
        return Picture(std::move(renderer), size);
    }
    case Format::Wmf: {
        auto wmf = WmfPicture::FromData(data);
        if (!wmf)
            return std::nullopt;
        const QSizeF size = wmf->Size();
        return Picture(std::move(*wmf), size);
    }
    }
    return std::nullopt;
}

void Picture::Draw(QPainter &painter, const QRectF &target) const
{
    if (target.isEmpty())
        return;
    if (const auto *image = std::get_if<QImage>(&m_content)) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, *image);
        painter.restore();
    } else if (const auto *svg = std::get_if<std::shared_ptr<QSvgRenderer>>(&m_content)) {
        // Shapes reaching beyond the metafile's bounds stay in its frame.
        painter.save();
        painter.setClipRect(target, Qt::IntersectClip);
        (*svg)->render(&painter, target);
        painter.restore();
    } else if (const auto *wmf = std::get_if<WmfPicture>(&m_content)) {
        wmf->Draw(painter, target);
    }
}

} // namespace ralvo::pictures
