#include "print/PageOutput.h"

#include "platform/LazyImage.h"
#include "platform/Platform.h"
#include "print/PageGeometry.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ralvo {

QPageSize PageSizeOf(PagePaper paper)
{
    return QPageSize(paper == PagePaper::JisB5 ? QPageSize::JisB5 : QPageSize::A4);
}

QSize SheetPixels(PagePaper paper, int dpi)
{
    return PageSizeOf(paper).sizePixels(dpi);
}

PageTarget SheetTarget(QPainter &painter, QSize sheet)
{
    PageTarget target;
    target.surface = &painter;
    target.paperWidth = sheet.width();
    target.paperHeight = sheet.height();
    target.thinLineWidth = page::PrinterThinLineWidth(sheet.width());
    return target;
}

PageFile RenderPagePdf(PagePaper paper, int dpi, const PageSources &sources)
{
    return RenderPagesPdf(paper, dpi, {sources});
}

PageFile RenderPagesPdf(PagePaper paper, int dpi, const std::vector<PageSources> &pages)
{
    PageFile file;
    if (pages.empty()) {
        file.error = QStringLiteral("PDF に描くページがありません。");
        return file;
    }
    QBuffer buffer(&file.bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(platform::ApplicationTitle());
        writer.setResolution(dpi);
        writer.setPageSize(PageSizeOf(paper));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.bytes.clear();
            file.error = QStringLiteral("PDF を作れませんでした。");
            return file;
        }
        const QSize sheet(writer.width(), writer.height());
        for (std::size_t i = 0; i < pages.size() && file.result == PageResult::Drawn; ++i) {
            if (i > 0 && !writer.newPage()) {
                file.error = QStringLiteral("PDF を作れませんでした。");
                break;
            }
            painter.save();
            file.result = DrawSchedulePage(SheetTarget(painter, sheet), pages[i]);
            painter.restore();
        }
        painter.end();
    }
    if (file.result != PageResult::Drawn || !file.error.isEmpty())
        file.bytes.clear();
    return file;
}

namespace {

// A PNG of 8-bit RGB rows written as they come, deflated at zlib's fastest
// level: the sheet never has to exist whole.
class PngStream
{
public:
    PngStream(QByteArray &out, QSize size, int dpi) : m_out(out), m_width(size.width())
    {
        m_out.append("\x89PNG\r\n\x1a\n", 8);
        QByteArray header(13, '\0');
        qToBigEndian<quint32>(quint32(size.width()), header.data());
        qToBigEndian<quint32>(quint32(size.height()), header.data() + 4);
        header[8] = 8; // bits per channel
        header[9] = 2; // RGB
        Chunk("IHDR", header);
        QByteArray physical(9, '\0');
        const auto perMetre = quint32(std::nearbyint(dpi / 0.0254));
        qToBigEndian<quint32>(perMetre, physical.data());
        qToBigEndian<quint32>(perMetre, physical.data() + 4);
        physical[8] = 1; // metres
        Chunk("pHYs", physical);
        m_ok = deflateInit(&m_zip, Z_BEST_SPEED) == Z_OK;
        m_row.resize(1 + 3 * qsizetype(m_width));
    }
    ~PngStream()
    {
        deflateEnd(&m_zip);
    }
    PngStream(const PngStream &) = delete;
    PngStream &operator=(const PngStream &) = delete;

    // `rows` rows from `top` of an RGB32 image `m_width` pixels wide.
    void Rows(const QImage &image, int top, int rows)
    {
        for (int y = top; y < top + rows && m_ok; ++y) {
            m_row[0] = 0; // no filter
            const auto *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            char *out = m_row.data() + 1;
            for (int x = 0; x < m_width; ++x) {
                *out++ = char(qRed(pixels[x]));
                *out++ = char(qGreen(pixels[x]));
                *out++ = char(qBlue(pixels[x]));
            }
            Deflate(m_row, Z_NO_FLUSH);
        }
    }

    // Ends the picture; false when any step failed.
    bool Finish()
    {
        if (!m_ok)
            return false;
        Deflate({}, Z_FINISH);
        Chunk("IEND", {});
        return m_ok;
    }

private:
    void Deflate(const QByteArray &in, int flush)
    {
        m_zip.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.constData()));
        m_zip.avail_in = uInt(in.size());
        int status = Z_OK;
        do {
            m_buffer.resize(1 << 16);
            m_zip.next_out = reinterpret_cast<Bytef *>(m_buffer.data());
            m_zip.avail_out = uInt(m_buffer.size());
            status = deflate(&m_zip, flush);
            if (status == Z_STREAM_ERROR) {
                m_ok = false;
                return;
            }
            m_pending.append(m_buffer.constData(), m_buffer.size() - qsizetype(m_zip.avail_out));
        } while (m_zip.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
        if (m_pending.size() >= (1 << 18) || flush == Z_FINISH) {
            Chunk("IDAT", m_pending);
            m_pending.clear();
        }
    }

    void Chunk(const char (&type)[5], const QByteArray &data)
    {
        char length[4];
        qToBigEndian<quint32>(quint32(data.size()), length);
        m_out.append(length, 4);
        const qsizetype start = m_out.size();
        m_out.append(type, 4);
        m_out.append(data);
        const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(m_out.constData() + start),
                                uInt(m_out.size() - start));
        char check[4];
        qToBigEndian<quint32>(quint32(crc), check);
        m_out.append(check, 4);
    }

    QByteArray &m_out;
    int m_width;
    z_stream m_zip{};
    QByteArray m_row;
    QByteArray m_buffer;
    QByteArray m_pending;
    bool m_ok = false;
};

class Silent final : public platform::Messages, public platform::Sounds
{
public:
    void ShowMessage(const QString &) override {}
    Answer Ask(const Question &q) override { return q.defaultAnswer; }
    void Beep() override {}
    void Exclamation() override {}
};

// Rows of the sheet drawn at a time (about 20 MB of pixels at A4 600 dpi):
// each band draws the page anew, so fewer bands are faster.
constexpr int kBandRows = 1024;

} // namespace

PageFile RenderPagePng(PagePaper paper, int dpi, const PageSources &sources)
{
    // The sheet is drawn in bands of rows, each band the whole page clipped
    // to it, on one surface of the whole sheet whose memory is taken only
    // for the band being drawn: every band is drawn in the sheet's own
    // coordinates, so its pixels are those of the whole drawing. A band is
    // streamed out and its memory given back before the next is drawn. Only
    // the first band reports: later ones draw the same page, with what the
    // first found already in the block.
    PageFile file;
    const QSize sheet = SheetPixels(paper, dpi);
    QImage image = platform::LazyImage(sheet, QImage::Format_RGB32);
    if (image.isNull()) {
        file.error = QStringLiteral("画像を作るためのメモリが足りません。");
        return file;
    }
    image.setDotsPerMeterX(int(std::nearbyint(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::nearbyint(dpi / 0.0254)));
    Silent silent;
    std::optional<PngStream> png;
    for (int top = 0; top < sheet.height(); top += kBandRows) {
        const int rows = std::min(kBandRows, sheet.height() - top);
        for (int y = top; y < top + rows; ++y)
            std::memset(image.scanLine(y), 0xFF, std::size_t(sheet.width()) * 4); // white
        {
            QPainter painter(&image);
            painter.setClipRect(QRect(0, top, sheet.width(), rows));
            const PageSources bandSources = top == 0
                ? sources
                : PageSources{sources.settings, sources.notices, sources.block, sources.fields, silent, silent};
            const PageResult result = DrawSchedulePage(SheetTarget(painter, sheet), bandSources);
            if (top == 0)
                file.result = result;
        }
        if (file.result != PageResult::Drawn)
            return file;
        if (!png)
            png.emplace(file.bytes, sheet, dpi);
        png->Rows(image, top, rows);
        platform::DiscardRows(image, top, rows);
    }
    if (!png || !png->Finish()) {
        file.bytes.clear();
        file.error = QStringLiteral("PNG を書き出せませんでした。");
    }
    return file;
}

} // namespace ralvo
