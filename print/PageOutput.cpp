#include "print/PageOutput.h"

#include "print/PageGeometry.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

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
    PageFile file;
    QBuffer buffer(&file.bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("らるぼPro"));
        writer.setResolution(dpi);
        writer.setPageSize(PageSizeOf(paper));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.bytes.clear();
            file.error = QStringLiteral("PDF を作れませんでした。");
            return file;
        }
        file.result = DrawSchedulePage(SheetTarget(painter, QSize(writer.width(), writer.height())),
                                       sources);
        painter.end();
    }
    if (file.result != PageResult::Drawn)
        file.bytes.clear();
    return file;
}

PageFile RenderPagePng(PagePaper paper, int dpi, const PageSources &sources)
{
    PageFile file;
    const QSize sheet = SheetPixels(paper, dpi);
    QImage image(sheet, QImage::Format_RGB32);
    if (image.isNull()) {
        file.error = QStringLiteral("画像を作るためのメモリが足りません。");
        return file;
    }
    image.setDotsPerMeterX(int(std::nearbyint(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::nearbyint(dpi / 0.0254)));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        file.result = DrawSchedulePage(SheetTarget(painter, sheet), sources);
    }
    if (file.result != PageResult::Drawn)
        return file;
    QBuffer buffer(&file.bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        file.bytes.clear();
        file.error = QStringLiteral("PNG を書き出せませんでした。");
    }
    return file;
}

} // namespace ralvo
