// The application icon: every size there, drawn without starting a thread
// (the program runs on its user-interface thread alone).

#include "app/ui/Pictures.h"

#include <QDir>
#include <QImage>
#include <QPixmap>

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
