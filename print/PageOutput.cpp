#include "print/PageOutput.h"

#include "pictures/PictureCache.h"
#include "platform/Platform.h"
#include "print/LazyImage.h"
#include "print/PageGeometry.h"
#include "print/PngStream.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ralvo {

QPageSize PageSizeOf(PagePaper paper)
{
    return QPageSize(paper == PagePaper::JisB5 ? QPageSize::JisB5 : QPageSize::A4);
}

QSize SheetPixels(PagePaper paper, int dpi) { return PageSizeOf(paper).sizePixels(dpi); }

PageTarget SheetTarget(QPainter &painter, QSize sheet)
{
    PageTarget target;
    target.surface = &painter;
    target.paperWidth = sheet.width();
    target.paperHeight = sheet.height();
    target.thinLineWidth = page::PrinterThinLineWidth(sheet.width());
    return target;
}

PageFile RenderPagePdf(PagePaper paper, int dpi, const PageSources &sources, const PageDrawing &draw)
{
    return RenderPagesPdf(paper, dpi, {sources}, {}, draw);
}

PageFile RenderPagesPdf(PagePaper paper, int dpi, const std::vector<PageSources> &pages, const PageProgress &progress,
                        const PageDrawing &draw)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    PageFile file = RenderPagesPdfInto(buffer, paper, dpi, pages, progress, draw);
    if (file.result == PageResult::Drawn && file.error.isEmpty() && !file.cancelled)
        file.bytes = std::move(bytes);
    return file;
}

PageFile RenderPagesPdfInto(QIODevice &device, PagePaper paper, int dpi, const std::vector<PageSources> &pages,
                            const PageProgress &progress, const PageDrawing &draw)
{
    PageFile file;
    if (pages.empty()) {
        file.error = QStringLiteral("PDF に描くページがありません。");
        return file;
    }
    {
        QPdfWriter writer(&device);
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
            const PageTarget target = SheetTarget(painter, sheet);
            file.result = draw ? draw(target, pages[i]) : DrawSchedulePage(target, pages[i]);
            painter.restore();
            if (file.result == PageResult::Drawn && progress && !progress(i + 1)) {
                file.cancelled = true;
                break;
            }
        }
        painter.end();
    }
    return file;
}

namespace {

class Silent final : public platform::Messages, public platform::Sounds
{
public:
    void ShowMessage(const QString &) override {}
    Answer Ask(const Question &q) override { return q.defaultAnswer; }
    void Beep() override {}
    void Exclamation() override {}
};

// Rows of the sheet drawn at a time, at least (about 10 MB of pixels at A4
// 600 dpi): each band draws the page anew, but skips what lies outside it,
// so that halving the bands from 1024 rows costs no measurable time.
constexpr int kBandRows = 512;

} // namespace

PageFile RenderPagePng(PagePaper paper, int dpi, const PageSources &sources, const PageDrawing &draw)
{
    // The sheet is drawn in bands of rows, each band the whole page clipped
    // to it, on one surface of the whole sheet whose memory is taken only
    // for the band being drawn: every band is drawn in the sheet's own
    // coordinates, so its pixels are those of the whole drawing. A band is
    // streamed out, and its memory then backs the next band. Only the first
    // band reports: later ones draw the same page, with what the first found
    // already in the block, and the same pictures, each read once.
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
    const pictures::PictureCache::Snapshot samePictures(pictures::PictureCache::Shared());
    std::optional<PngStream> png;
    // Bands of whole memory pages, so that each moves on to the next.
    const int band = platform::WholePageRows(image, kBandRows);
    for (int top = 0; top < sheet.height(); top += band) {
        const int rows = std::min(band, sheet.height() - top);
        for (int y = top; y < top + rows; ++y)
            std::memset(image.scanLine(y), 0xFF, std::size_t(sheet.width()) * 4); // white
        {
            QPainter painter(&image);
            painter.setClipRect(QRect(0, top, sheet.width(), rows));
            const PageSources bandSources =
                top == 0 ? sources : PageSources{sources.settings, sources.notices, sources.block,
                                                 sources.fields,   silent,          silent};
            const PageTarget target = SheetTarget(painter, sheet);
            const PageResult result = draw ? draw(target, bandSources) : DrawSchedulePage(target, bandSources);
            if (top == 0)
                file.result = result;
        }
        if (file.result != PageResult::Drawn)
            return file;
        if (!png)
            png.emplace(file.bytes, sheet, dpi);
        png->Rows(image.constScanLine(top), image.bytesPerLine(), rows);
        platform::MoveRows(image, top, top + band, rows); // memory for the next band
    }
    if (!png || !png->Finish()) {
        file.bytes.clear();
        file.error = QStringLiteral("PNG を書き出せませんでした。");
    }
    return file;
}

} // namespace ralvo
