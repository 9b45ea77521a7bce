#include "settings/ScheduleSettings.h"

#include <gtest/gtest.h>

using namespace ralvo;

TEST(NoticeTableDefaults, SpotChecksAndRestoreDiffersOnlyInWeek41)
{
    const NoticeTable table = DefaultNoticeTable();
    EXPECT_EQ(table.ForWeek(4).text, QStringLiteral("妊娠の兆候に気づいたら、早め"));
    EXPECT_EQ(table.ForWeek(4).color, 0xFF0000u);
    EXPECT_EQ(table.ForWeek(43).text, QString());
    EXPECT_EQ(table.ForWeek(41).color, 0x008000u);

    NoticeTable restored = RestoredNoticeTable();
    EXPECT_EQ(restored.ForWeek(41).color, 0x000000u);
    restored.ForWeek(41).color = 0x008000;
    EXPECT_EQ(restored, table);
}

TEST(ColourLayout, RedIsTheLowestByte)
{
    EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(FromQColor(QColor(0, 128, 128)), 0x808000u);
}
