#include "calc/Wareki.h"

#include <gtest/gtest.h>

using namespace ralvo;

TEST(WarekiDateText, EachEraFromItsFirstDayWithTheFirstYearAsGannen)
{
    struct Case
    {
        CalendarDate date;
        const char *text;
    };
    const Case cases[] = {
        {{2024, 10, 7}, "令和6年10月7日"},
        {{2019, 5, 1}, "令和元年5月1日"},
        {{2020, 1, 1}, "令和2年1月1日"},
        {{2019, 4, 30}, "平成31年4月30日"},
        {{1989, 1, 8}, "平成元年1月8日"},
        {{1989, 1, 7}, "昭和64年1月7日"},
        {{1926, 12, 25}, "昭和元年12月25日"},
        {{1926, 12, 24}, "大正15年12月24日"},
        {{1912, 7, 30}, "大正元年7月30日"},
        {{1912, 7, 29}, "明治45年7月29日"},
        {{1873, 1, 1}, "明治6年1月1日"},
        {{1872, 12, 31}, "1872年12月31日"}, // before the Gregorian calendar in Japan
        {{-5, 3, 1}, "-5年3月1日"},
        {{5881635, 3, 20}, "令和5879617年3月20日"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(WarekiDateText(c.date), QString::fromUtf8(c.text)) << c.text;
    EXPECT_FALSE(WarekiYearOf({1872, 12, 31}));
    EXPECT_EQ(WarekiYearOf({1989, 1, 8}), (WarekiYear{QStringLiteral("平成"), 1}));
}
