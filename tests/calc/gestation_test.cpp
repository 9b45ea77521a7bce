#include "calc/Gestation.h"
#include "calc/GestationalAge.h"

#include "support/CalcPrinters.h"

#include <gtest/gtest.h>

using namespace ralvo;

namespace {

// The worked example: last period 2024-01-01, due 2024-10-07.
constexpr CalendarDate Due{2024, 10, 7};

} // namespace

TEST(PregnancyMonthAndTrimester, AcrossWeekBoundariesTheDueDateAndBeyond)
{
    struct Case
    {
        CalendarDate on;
        qint64 weeks;
        int days;
        qint64 total;
        qint64 month;
        Trimester trimester;
    };
    using T = Trimester;
    const Case cases[] = {
        {{2024, 1, 1}, 0, 0, 0, 1, T::First}, // 280 days before the due date
        {{2024, 3, 1}, 8, 4, 60, 3, T::First},      {{2024, 2, 25}, 7, 6, 55, 2, T::First}, // last day of week 7 ...
        {{2024, 2, 26}, 8, 0, 56, 3, T::First}, // ... first of week 8, third month
        {{2024, 4, 21}, 15, 6, 111, 4, T::First},   {{2024, 4, 22}, 16, 0, 112, 5, T::Second},
        {{2024, 7, 14}, 27, 6, 195, 7, T::Second},  {{2024, 7, 15}, 28, 0, 196, 8, T::Third},
        {{2024, 10, 7}, 40, 0, 280, 11, T::Third},  // the due date itself
        {{2024, 10, 10}, 40, 3, 283, 11, T::Third}, // after it
        {{2024, 11, 10}, 44, 6, 314, 12, T::Third}, // past 43 weeks
        {{2023, 12, 29}, -1, 4, -3, 0, T::First},   // before 0 weeks 0 days
        {{2024, 2, 30}, 8, 4, 60, 3, T::First},     // a day beyond its month counts on
    };
    for (const Case &c : cases) {
        const auto age = GestationalAgeOn(Due, c.on);
        ASSERT_TRUE(age);
        EXPECT_EQ(age->days, c.total) << c.on.month << '-' << c.on.day;
        EXPECT_EQ(age->Weeks(), c.weeks) << c.on.month << '-' << c.on.day;
        EXPECT_EQ(age->DayOfWeek(), c.days) << c.on.month << '-' << c.on.day;
        EXPECT_EQ(PregnancyMonth(*age), c.month) << c.on.month << '-' << c.on.day;
        EXPECT_EQ(TrimesterOf(*age), c.trimester) << c.on.month << '-' << c.on.day;
    }
    EXPECT_EQ(TrimesterName(Trimester::First), QStringLiteral("初期"));
    EXPECT_EQ(TrimesterName(Trimester::Second), QStringLiteral("中期"));
    EXPECT_EQ(TrimesterName(Trimester::Third), QStringLiteral("後期"));
}

TEST(MilestonesOf, FullTermWindowAndLeaveForOneOrMoreBabies)
{
    const auto single = MilestonesOf(Due, false);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->fullTermStart, (CalendarDate{2024, 9, 16}));
    EXPECT_EQ(single->fullTermEnd, (CalendarDate{2024, 10, 20}));
    // 2024-08-27 to 2024-10-07 inclusive are 42 days; 2024-07-02 on, 98.
    EXPECT_EQ(single->maternityLeaveStart, (CalendarDate{2024, 8, 27}));
    const auto twins = MilestonesOf(Due, true);
    ASSERT_TRUE(twins);
    EXPECT_EQ(twins->maternityLeaveStart, (CalendarDate{2024, 7, 2}));
    EXPECT_EQ(twins->fullTermEnd, single->fullTermEnd);

    EXPECT_FALSE(MilestonesOf({2147483647, 12, 31}, false));
    EXPECT_FALSE(MilestonesOf({2024, 13, 1}, false));
}
