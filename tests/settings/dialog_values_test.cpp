#include "settings/DialogValues.h"

#include <gtest/gtest.h>

using namespace ralvo;

TEST(FullWidthCount, HalvesTheByteWidthDroppingAHalfCharacter)
{
    const struct
    {
        const char16_t *text;
        int count;
    } cases[] = {
        {u"", 0},
        {u"a", 0}, // one half-width letter
        {u"ab", 1},
        {u"あいうa", 3},                       // 7 bytes
        {u"ｱｲｳ", 1},                           // half-width katakana: 1 byte each
        {u"推定児体重400-700gです", 11},       // 22 bytes
        {u"妊娠の兆候に気づいたら、早め", 14}, // 28 bytes
        {u"\u301C", 1},                        // typed wave dash measures as "～"
    };
    for (const auto &c : cases)
        EXPECT_EQ(FullWidthCount(QString::fromUtf16(c.text)), c.count) << QString::fromUtf16(c.text).toStdString();
}

// S = notation bytes + 22 (+ 12 with the week's last day printed).
TEST(PrintableNoticeWidth, FollowsTheNotationAndTheWeekEndSwitch)
{
    const auto withNotationBytes = [](int bytes) {
        ScheduleSettings s;
        s.Tsuki1 = QString(bytes - 12, u'x'); // the other three default texts are 12 bytes
        return s;
    };
    const struct
    {
        int notationBytes;
        bool weekEnd;
        int width;
    } cases[] = {
        {16, true, 14},  // default notation, S = 50
        {16, false, 20}, // S = 38
        {44, true, 0},   // S = 78
        {45, true, 0},   // S = 79
        {46, true, 0},   // S = 80: -0.16 truncates to 0
        {48, true, -1},  // S = 82
        {49, true, -1},  // S = 83
        {50, true, -2},  // S = 84
        {12, false, 22}, // empty Tsuki1, S = 34
    };
    for (const auto &c : cases) {
        EXPECT_EQ(PrintableNoticeWidth(withNotationBytes(c.notationBytes), c.weekEnd), c.width)
            << c.notationBytes << (c.weekEnd ? " with" : " without") << " week end";
    }
    EXPECT_EQ(PrintableNoticeWidth(ScheduleSettings{}, true), 14);
}

TEST(NoticeWeekCaption, FullWidthDigitsBelowTenHalfWidthFromTen)
{
    EXPECT_EQ(NoticeWeekCaption(4), QStringLiteral("妊娠４週"));
    EXPECT_EQ(NoticeWeekCaption(9), QStringLiteral("妊娠９週"));
    EXPECT_EQ(NoticeWeekCaption(10), QStringLiteral("妊娠10週"));
    EXPECT_EQ(NoticeWeekCaption(43), QStringLiteral("妊娠43週"));
}

TEST(IndexOr, KeepsOnlyIndexesOfTheList)
{
    EXPECT_EQ(IndexOr(0, 3, 2), 0);
    EXPECT_EQ(IndexOr(2, 3, 0), 2);
    EXPECT_EQ(IndexOr(3, 3, 2), 2);
    EXPECT_EQ(IndexOr(-1, 3, 2), 2); // nothing selected
    EXPECT_EQ(IndexOr(1, 0, 0), 0);
}
