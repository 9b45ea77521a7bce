#include "app/ui/Pictures.h"

#include "platform/qt/LazyIcon.h"

#include <QImage>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>

#include <cstring>

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

// Made into an icon when first drawn (for the main window, when it is
// shown), not when set: its sizes are images rendered from the drawing at
// build time, kept as their pixels, so that nothing is decoded at start-up.
// Rendering the drawing here would start Qt's worker threads for its
// gradient.
QIcon ApplicationIcon()
{
    InitAppResources();
    return platform::LazyIcon([] {
        QIcon icon;
        for (int side : {16, 24, 32, 48, 64, 128, 256}) {
            const QResource resource(QStringLiteral(":/ralvo/icons/ralvo-%1.argb").arg(side));
            const QByteArray pixels = resource.uncompressedData();
            QImage image(side, side, QImage::Format_ARGB32);
            const qsizetype rowBytes = qsizetype(side) * 4;
            if (pixels.size() != rowBytes * side)
                continue;
            for (int y = 0; y < side; ++y)
                std::memcpy(image.scanLine(y), pixels.constData() + y * rowBytes, std::size_t(rowBytes));
            icon.addPixmap(QPixmap::fromImage(image));
        }
        return icon;
    });
}

} // namespace ralvo
