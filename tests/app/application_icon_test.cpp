// The application icon: every size there, drawn without starting a thread
// (the program runs on its user-interface thread alone); and the windows'
// pictures, drawn at build time as the drawings draw at run time.

#include "app/ui/Pictures.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace {

qsizetype ThreadsOfThisProcess()
{
    return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
}

} // namespace

TEST(ApplicationIcon, EverySizeDrawnOnThisThreadAlone)
{
    const qsizetype threadsBefore = ThreadsOfThisProcess();
    const QIcon icon = ralvo::ApplicationIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_EQ(sizes, (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
    for (const QSize &size : sizes) {
        const QImage image = icon.pixmap(size).toImage();
        ASSERT_EQ(image.size(), size);
        // The pink disc fills the middle; the corners stay transparent.
        EXPECT_GT(qAlpha(image.pixel(size.width() / 5, size.height() / 2)), 200) << size.width();
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size.width();
    }
    EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);
}

// Each picture is, pixel for pixel, its drawing rendered as the program
// once rendered it at start-up: on a transparent pixmap of its size.
TEST(WindowPictures, AreTheirDrawingsAsRenderedAtRunTime)
{
    const QString resources = qEnvironmentVariable("RALVO_SOURCE_DIR") + QStringLiteral("/app/resources/");
    const struct
    {
        const char *drawing;
        QPixmap picture;
        QSize size;
    } pictures[] = {{"calculate.svg", ralvo::CalculatePicture(), {67, 58}},
                    {"calculate-pressed.svg", ralvo::CalculatePressedPicture(), {67, 58}},
                    {"about.svg", ralvo::AboutPicture(), {184, 160}}};
    for (const auto &[drawing, picture, size] : pictures) {
        QSvgRenderer renderer(resources + QLatin1String(drawing));
        ASSERT_TRUE(renderer.isValid()) << drawing;
        QPixmap rendered(size);
        rendered.fill(Qt::transparent);
        QPainter painter(&rendered);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        ASSERT_EQ(picture.size(), size) << drawing;
        EXPECT_TRUE(picture.toImage() == rendered.toImage()) << drawing;
        // Not blank: the text and the outline are there.
        EXPECT_GT(picture.toImage()
                      .convertToFormat(QImage::Format_ARGB32)
                      .pixelColor(size.width() / 2, size.height() / 2)
                      .alpha(),
                  0)
            << drawing;
    }
}
