// File dialog filters given as "caption|patterns|..." become Qt name filters.
#include "platform/qt/QtPlatform.h"

#include <gtest/gtest.h>

using ralvo::platform::ToQtNameFilters;

TEST(NameFilters, PatternsAppearOnceInTheFormQtReads)
{
    EXPECT_EQ(ToQtNameFilters(QStringLiteral("テキストファイル|*.txt|すべてのファイル|*.*")),
              (QStringList{QStringLiteral("テキストファイル (*.txt)"), QStringLiteral("すべてのファイル (*)")}));
    EXPECT_EQ(
        ToQtNameFilters(QStringLiteral("すべてのﾌｧｲﾙ (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf"
                                       "|ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp")),
        (QStringList{QStringLiteral("すべてのﾌｧｲﾙ (*.bmp *.ico *.emf *.wmf)"), QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)")}));
}
