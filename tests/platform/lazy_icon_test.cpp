#include "platform/qt/LazyIcon.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

using ralvo::platform::LazyIcon;

namespace {

QIcon RedSquares()
{
    QIcon icon;
    for (const int side : {16, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::red);
        icon.addPixmap(pixmap);
    }
    return icon;
}

TEST(LazyIcon, IsBuiltOnlyWhenDrawnAndOnlyOnce)
{
    int builds = 0;
    const QIcon icon = LazyIcon([&builds] {
        ++builds;
        return RedSquares();
    });
    // Setting it on a window, copying it and asking whether it is null do
    // not build it.
    QWidget window;
    window.setWindowIcon(icon);
    const QIcon copy = icon;
    EXPECT_FALSE(icon.isNull());
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(builds, 0);

    const QImage drawn = copy.pixmap(QSize(32, 32)).toImage();
    EXPECT_EQ(drawn.size(), QSize(32, 32));
    EXPECT_EQ(drawn.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(icon.availableSizes(), RedSquares().availableSizes());
    EXPECT_EQ(window.windowIcon().actualSize(QSize(64, 64)), QSize(32, 32));
    EXPECT_EQ(builds, 1);
}

TEST(LazyIcon, AnswersWithTheBuiltIconsName)
{
    const QIcon icon = LazyIcon([] { return QIcon::fromTheme(QStringLiteral("no-such-icon"), RedSquares()); });
    EXPECT_EQ(icon.name(), QIcon::fromTheme(QStringLiteral("no-such-icon"), RedSquares()).name());
    EXPECT_EQ(icon.pixmap(QSize(16, 16)).size(), QSize(16, 16));
}

} // namespace
