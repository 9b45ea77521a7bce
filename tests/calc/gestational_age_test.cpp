#include "calc/GestationalAge.h"

#include "calc/DueDate.h"
#include "support/CalcPrinters.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ralvo;

namespace {

constexpr CalendarDate Due{2024, 10, 7}; // last period began 2024-01-01, cycle 28

struct Age
{
    qint64 weeks;
    int day;
    qint64 untilDue;
};

Age AgeOn(const CalendarDate &day)
{
    const auto age = GestationalAgeOn(Due, day);
    EXPECT_TRUE(age.has_value());
    return age ? Age{age->Weeks(), age->DayOfWeek(), age->DaysUntilDue()} : Age{};
}

} // namespace

TEST(GestationalAge, CountsWeeksAndDaysFromTheDueDate)
{
    struct Case
    {
        CalendarDate day;
        qint64 weeks;
        int dayOfWeek;
        qint64 untilDue;
    };
    const Case cases[] = {
        {{2024, 1, 1}, 0, 0, 280}, // 280 days before the due date
        {{2024, 1, 7}, 0, 6, 274},   {{2024, 1, 8}, 1, 0, 273},
        {{2024, 2, 29}, 8, 3, 221}, // leap day inside the count
        {{2024, 3, 28}, 12, 3, 193}, {{2024, 10, 6}, 39, 6, 1},
        {{2024, 10, 7}, 40, 0, 0},                               // the due date
        {{2024, 11, 3}, 43, 6, -27},                             // last day of week 43
        {{2024, 11, 4}, 44, 0, -28}, {{2024, 2, 30}, 8, 4, 220}, // a day past its month's end counts on
    };
    for (const Case &c : cases) {
        const Age age = AgeOn(c.day);
        EXPECT_EQ(age.weeks, c.weeks) << ::testing::PrintToString(c.day);
        EXPECT_EQ(age.day, c.dayOfWeek) << ::testing::PrintToString(c.day);
        EXPECT_EQ(age.untilDue, c.untilDue) << ::testing::PrintToString(c.day);
    }
}

TEST(GestationalAge, DaysBeforeWeekZeroFloorIntoNegativeWeeks)
{
    const Age dayBefore = AgeOn({2023, 12, 31});
    EXPECT_EQ(dayBefore.weeks, -1);
    EXPECT_EQ(dayBefore.day, 6);
    const Age weekBefore = AgeOn({2023, 12, 25});
    EXPECT_EQ(weekBefore.weeks, -1);
    EXPECT_EQ(weekBefore.day, 0);
    EXPECT_EQ(AgeOn({2023, 12, 24}).weeks, -2);
}

TEST(GestationalAge, FollowsTheBasisThroughTheDueDate)
{
    // The same pregnancy from an ovulation day and from a longer cycle: the
    // age follows the due date each basis gives.
    const auto fromOvulation = ComputePregnancyDates(CalculationBasis::BasalTemperatureOvulation, {2024, 1, 15}, 28);
    ASSERT_TRUE(fromOvulation);
    EXPECT_EQ(GestationalAgeOn(fromOvulation->dueDate, {2024, 3, 28})->days, 87);
    const auto longCycle = ComputePregnancyDates(CalculationBasis::LastMenstrualPeriod, {2024, 1, 1}, 35);
    ASSERT_TRUE(longCycle);
    EXPECT_EQ(GestationalAgeOn(longCycle->dueDate, {2024, 3, 28})->days, 80);
}

TEST(GestationalAge, InvalidMonthsAndFarDatesAreTotal)
{
    EXPECT_FALSE(GestationalAgeOn({2024, 13, 1}, {2024, 3, 1}));
    EXPECT_FALSE(GestationalAgeOn(Due, {2024, 0, 1}));
    constexpr qint32 maxYear = std::numeric_limits<qint32>::max();
    constexpr qint32 minYear = std::numeric_limits<qint32>::min();
    const auto far = GestationalAgeOn({minYear, 1, 1}, {maxYear, 12, 31});
    ASSERT_TRUE(far);
    EXPECT_GT(far->Weeks(), 0);
    EXPECT_GE(far->DayOfWeek(), 0);
    EXPECT_LT(far->DayOfWeek(), 7);
    const auto back = GestationalAgeOn({maxYear, 12, 31}, {minYear, 1, 1});
    ASSERT_TRUE(back);
    EXPECT_LT(back->Weeks(), 0);
    EXPECT_GE(back->DayOfWeek(), 0);
}

TEST(SignedDaysBetween, SignedAndSilent)
{
    EXPECT_EQ(SignedDaysBetween({2024, 1, 1}, {2024, 10, 7}), 280);
    EXPECT_EQ(SignedDaysBetween({2024, 10, 7}, {2024, 1, 1}), -280);
    EXPECT_EQ(SignedDaysBetween({2024, 1, 1}, {2024, 1, 1}), 0);
    EXPECT_EQ(SignedDaysBetween({2024, 1, 1}, {2024, 1, 0}), -1);
    EXPECT_FALSE(SignedDaysBetween({2024, 1, 1}, {2024, 13, 1}));
}
