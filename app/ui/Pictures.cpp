#include "app/ui/Pictures.h"

#include "platform/qt/LazyIcon.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <future>

// Resources in a static library must be registered by name.
static void InitAppResources()
{
    Q_INIT_RESOURCE(app);
}

namespace ralvo {

namespace {

QPixmap Render(const QString &name, QSize size)
{
    InitAppResources();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/ralvo/") + name);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

} // namespace

QPixmap CalculatePicture()
{
    return Render(QStringLiteral("calculate.svg"), QSize(67, 58));
}

QPixmap CalculatePressedPicture()
{
    return Render(QStringLiteral("calculate-pressed.svg"), QSize(67, 58));
}

QPixmap AboutPicture()
{
    return Render(QStringLiteral("about.svg"), QSize(184, 160));
}

namespace {

// The application icon's sizes, rendered into images on a worker thread that
// the first call starts, so that the rendering overlaps the creation of the
// windows. An image is painted exactly as a transparent pixmap is.
const std::shared_future<QList<QImage>> &ApplicationIconImages()
{
    InitAppResources();
    static const std::shared_future<QList<QImage>> images =
        std::async(std::launch::async, [] {
            QList<QImage> sizes;
            for (int side : {16, 24, 32, 48, 64, 128, 256}) {
                QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
                image.fill(Qt::transparent);
                QSvgRenderer renderer(QStringLiteral(":/ralvo/ralvo.svg"));
                QPainter painter(&image);
                renderer.render(&painter, QRectF(0, 0, side, side));
                painter.end();
                sizes.append(image);
            }
            return sizes;
        }).share();
    return images;
}

} // namespace

// Made into an icon when first drawn (for the main window, when it is
// shown), not when set.
QIcon ApplicationIcon()
{
    const std::shared_future<QList<QImage>> images = ApplicationIconImages();
    return platform::LazyIcon([images] {
        QIcon icon;
        for (const QImage &image : images.get())
            icon.addPixmap(QPixmap::fromImage(image));
        return icon;
    });
}

} // namespace ralvo
