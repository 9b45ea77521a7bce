#include "platform/Pictures.h"

#include "platform/FileReader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <emf2svg.h>

#include <cstdlib>

namespace ralvo::platform {

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
        if (image.isNull())
            continue;
        if (best.isNull() || qint64(image.width()) * image.height() > qint64(best.width()) * best.height())
            best = std::move(image);
    }
    if (best.isNull())
        return std::nullopt;
    return best;
}

// Only what starts with an EMF header goes to the converter.
bool LooksLikeEmf(const QByteArray &data)
{
    // EMR_HEADER: type 1, size >= 88, signature " EMF" at byte 40.
    if (data.size() < 88)
        return false;
    const char *p = data.constData();
    return qFromLittleEndian<quint32>(p) == 1 && qFromLittleEndian<quint32>(p + 4) >= 88
           && qFromLittleEndian<quint32>(p + 4) <= quint32(data.size())
           && qFromLittleEndian<quint32>(p + 40) == 0x464D4520u;
}

// libemf2svg turns text given as glyph indices back into characters through
// fontconfig and then shuts fontconfig down, which aborts a program whose
// fonts come from fontconfig (ours). Such texts are blanked before the
// conversion; the rest of the picture stays. Empty when the records do not
// chain up to the end of the data.
std::optional<QByteArray> WithoutGlyphIndexText(QByteArray emf)
{
    constexpr quint32 kExtTextOutA = 83, kExtTextOutW = 84, kPolyTextOutA = 96, kPolyTextOutW = 97;
    constexpr quint32 kEof = 14, kGlyphIndex = 0x10, kEmrTextSize = 40;
    char *data = emf.data();
    const qint64 size = emf.size();
    auto u32 = [&](qint64 at) { return qFromLittleEndian<quint32>(data + at); };
    // One U_EMRTEXT at `text` of the record at `record` (`recordSize` bytes).
    auto blank = [&](qint64 record, qint64 recordSize, qint64 text, int charBytes) {
        if (text + kEmrTextSize > record + recordSize)
            return;
        const quint32 options = u32(text + 16);
        if (!(options & kGlyphIndex))
            return;
        qToLittleEndian<quint32>(options & ~kGlyphIndex, data + text + 16);
        const qint64 chars = u32(text + 8);
        const qint64 at = u32(text + 12);
        if (at < 0 || chars < 0 || at + chars * charBytes > recordSize)
            return;
        for (qint64 i = 0; i < chars; ++i) {
            data[record + at + i * charBytes] = ' ';
            if (charBytes == 2)
                data[record + at + i * 2 + 1] = 0;
        }
    };
    for (qint64 off = 0; off + 8 <= size;) {
        const quint32 type = u32(off);
        const qint64 recordSize = u32(off + 4);
        if (recordSize < 8 || recordSize % 4 != 0 || recordSize > size - off)
            return std::nullopt;
        if (type == kExtTextOutA || type == kExtTextOutW) {
            blank(off, recordSize, off + 36, type == kExtTextOutW ? 2 : 1);
        } else if ((type == kPolyTextOutA || type == kPolyTextOutW) && recordSize >= 40) {
            const qint64 count = u32(off + 36);
            for (qint64 i = 0; i < count && 40 + (i + 1) * kEmrTextSize <= recordSize; ++i)
                blank(off, recordSize, off + 40 + i * kEmrTextSize, type == kPolyTextOutW ? 2 : 1);
        } else if (type == kEof) {
            break;
        }
        off += recordSize;
    }
    return emf;
}

} // namespace

std::optional<QByteArray> EmfToSvg(const QByteArray &emf)
{
    if (!LooksLikeEmf(emf))
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
    if (suffix == u"svg")
        return Format::Svg;
    return std::nullopt;
}

std::optional<Picture> Picture::Load(const QString &path)
{
    const auto format = FormatOfPath(path);
    if (!format)
        return std::nullopt;
    // A FIFO or device named as a picture is refused, never waited on.
    const FileReadResult file = ReadRegularFile(path, MaxFileBytes);
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
    case Format::Emf:
    case Format::Svg: {
        std::optional<QByteArray> svg = format == Format::Svg ? std::optional<QByteArray>(data) : EmfToSvg(data);
        if (!svg)
            return std::nullopt;
        auto renderer = std::make_shared<QSvgRenderer>(*svg);
        if (!renderer->isValid())
            return std::nullopt;
        const QSizeF size = renderer->viewBoxF().isEmpty() ? QSizeF(renderer->defaultSize())
                                                            : renderer->viewBoxF().size();
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
        (*svg)->render(&painter, target);
    } else if (const auto *wmf = std::get_if<WmfPicture>(&m_content)) {
        wmf->Draw(painter, target);
    }
}

} // namespace ralvo::platform
