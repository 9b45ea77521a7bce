#include "app/ui/Pictures.h"

#include "platform/qt/LazyIcon.h"

#include <QImage>
#include <QResource>

#include <cstring>
#include <utility>

namespace ralvo {

namespace {

// Pixels kept in a resource as they are (4 bytes a pixel, rows top to
// bottom, no padding) as an image of the given size and format; a null image
// if the resource is not of that size.
QImage ImageFromPixels(const QString &path, QSize size, QImage::Format format)
{
    const QResource resource(path);
    const QByteArray pixels = resource.uncompressedData();
    const qsizetype rowBytes = qsizetype(size.width()) * 4;
    if (pixels.size() != rowBytes * size.height())
        return {};
    QImage image(size, format);
    for (int y = 0; y < size.height(); ++y)
        std::memcpy(image.scanLine(y), pixels.constData() + y * rowBytes, std::size_t(rowBytes));
    return image;
}

// A picture drawn at build time: its pixels as drawn (premultiplied ARGB32).
// Empty if the resource is not of that size.
QPixmap Drawn(const QString &name, QSize size)
{
    QImage image = ImageFromPixels(QStringLiteral(":/ralvo/pictures/%1.argb").arg(name), size,
                                   QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    // As drawn: an opaque picture keeps its alpha channel, as before.
    return QPixmap::fromImage(std::move(image), Qt::NoOpaqueDetection);
}

} // namespace

QPixmap CalculatePicture() { return Drawn(QStringLiteral("calculate"), QSize(67, 58)); }

QPixmap CalculatePressedPicture() { return Drawn(QStringLiteral("calculate-pressed"), QSize(67, 58)); }

QPixmap AboutPicture() { return Drawn(QStringLiteral("about"), QSize(184, 160)); }

// Made into an icon when first drawn (for the main window, when it is
// shown), not when set: its sizes are images rendered from the drawing at
// build time, kept as their pixels, so that nothing is decoded at start-up.
// Rendering the drawing here would start Qt's worker threads for its
// gradient.
QIcon ApplicationIcon()
{
    return platform::LazyIcon([] {
        QIcon icon;
        for (int side : {16, 24, 32, 48, 64, 128, 256}) {
            const QImage image = ImageFromPixels(QStringLiteral(":/ralvo/icons/ralvo-%1.argb").arg(side),
                                                 QSize(side, side), QImage::Format_ARGB32);
            if (!image.isNull())
                icon.addPixmap(QPixmap::fromImage(image));
        }
        return icon;
    });
}

} // namespace ralvo
