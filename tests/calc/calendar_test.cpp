#include "calc/Calendar.h"

#include "support/CalcPrinters.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ralvo;

namespace {

constexpr qint32 MaxInt = std::numeric_limits<qint32>::max();
constexpr qint32 MinInt = std::numeric_limits<qint32>::min();

CalendarDate Moved(CalendarDate date, qint64 days)
{
    EXPECT_TRUE(AddDays(date, days));
    return date;
}

} // namespace

TEST(LeapYears, GregorianRuleExtendedToYearZeroAndBelow)
{
    struct Case
    {
        qint32 year;
        int days;
    };
    const Case cases[] = {
        {2024, 366}, {2023, 365}, {1900, 365}, {2000, 366},   {2100, 365},   {0, 366},    {-4, 366},
        {-1, 365},   {-100, 365}, {-400, 366}, {MaxInt, 365}, {MinInt, 366}, {1582, 365},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(DaysInYear(c.year), c.days) << c.year;
        EXPECT_EQ(DaysInMonth(c.year, 2), c.days - 337) << c.year;
    }
}

TEST(DaysInMonth, LengthsAndMonthsOutsideTheYear)
{
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(DaysInMonth(2023, m), lengths[m - 1]) << m;
    for (qint32 m : {0, 13, -1, MaxInt, MinInt})
        EXPECT_EQ(DaysInMonth(2024, m), 0) << m;
}

TEST(AddDays, CarriesIntoMonthsAndYearsBothWays)
{
    struct Case
    {
        CalendarDate from;
        qint64 days;
        CalendarDate to;
    };
    const Case cases[] = {
        {{2024, 1, 31}, 1, {2024, 2, 1}},
        {{2024, 12, 31}, 1, {2025, 1, 1}},
        {{2024, 3, 1}, -1, {2024, 2, 29}},
        {{2023, 3, 1}, -1, {2023, 2, 28}},
        {{2024, 1, 1}, 280, {2024, 10, 7}},
        {{2024, 1, 1}, -1, {2023, 12, 31}},
        {{2023, 2, 30}, 0, {2023, 3, 2}},
        {{2024, 2, 30}, 0, {2024, 3, 1}},
        {{2024, 5, 0}, 0, {2024, 4, 30}},
        {{2024, 1, -365}, 0, {2022, 12, 31}},
        {{2024, 1, 1}, 366 + 365, {2026, 1, 1}},
        {{2000, 2, 28}, 1, {2000, 2, 29}},
        {{1900, 2, 28}, 1, {1900, 3, 1}},
        {{0, 3, 1}, -1, {0, 2, 29}},
        {{0, 1, 1}, -1, {-1, 12, 31}},
        {{-100, 3, 1}, -1, {-100, 2, 28}},
        {{1, 1, 1}, -366, {0, 1, 1}},
        // 400 Gregorian years are exactly 146097 days.
        {{2024, 6, 15}, 146097, {2424, 6, 15}},
        {{2024, 6, 15}, -146097 * 10, {-1976, 6, 15}},
    };
    for (const Case &c : cases) {
        const CalendarDate to = Moved(c.from, c.days);
        EXPECT_EQ(to, c.to) << c.from.year << '-' << c.from.month << '-' << c.from.day << " + " << c.days;
    }
}

TEST(AddDays, ExtremeDayValuesFinishAtOnceWithoutOverflow)
{
    // A day of 2^31 - 1 is about 5.88 million years of days.
    EXPECT_EQ(Moved({2024, 1, MaxInt}, 0), (CalendarDate{5881634, 7, 10}));
    EXPECT_EQ(Moved({2024, 1, MaxInt}, MaxInt), (CalendarDate{11761245, 1, 17}));
    EXPECT_EQ(Moved({2024, 1, MinInt}, MinInt), (CalendarDate{-11757198, 12, 11}));
    // Inverse of each other.
    const CalendarDate far = Moved({2024, 1, 1}, qint64(MaxInt) + 252);
    EXPECT_EQ(Moved(far, -(qint64(MaxInt) + 252)), (CalendarDate{2024, 1, 1}));
}

TEST(AddDays, RefusesInvalidMonthsAndYearsBeyond32Bits)
{
    for (CalendarDate date : {CalendarDate{2024, 0, 1}, CalendarDate{2024, 13, 1}, CalendarDate{MaxInt, 12, 31},
                              CalendarDate{MinInt, 1, 1}}) {
        const CalendarDate before = date;
        const qint64 step = date.year == MinInt ? -1 : 1;
        EXPECT_FALSE(AddDays(date, step)) << before.year << '-' << before.month;
        EXPECT_EQ(date, before);
    }
    CalendarDate last{MaxInt, 12, 30};
    EXPECT_TRUE(AddDays(last, 1));
    EXPECT_EQ(last, (CalendarDate{MaxInt, 12, 31}));
    CalendarDate huge{2024, 1, 1};
    EXPECT_FALSE(AddDays(huge, std::numeric_limits<qint64>::max()));
    EXPECT_FALSE(AddDays(huge, std::numeric_limits<qint64>::min()));
}

TEST(DaysBetween, CountsDaysAndComplainsAboutOrder)
{
    test::FakeMessages messages;
    EXPECT_EQ(DaysBetween({2024, 1, 1}, {2024, 10, 7}, messages), 280);
    EXPECT_EQ(DaysBetween({2023, 12, 31}, {2024, 1, 1}, messages), 1);
    EXPECT_EQ(DaysBetween({1582, 1, 1}, {2024, 1, 1}, messages), 161437);
    // Days outside the month count on from the month's first day.
    EXPECT_EQ(DaysBetween({2024, 1, 31}, {2024, 2, 30}, messages), 30);
    EXPECT_TRUE(messages.shown.empty());

    EXPECT_EQ(DaysBetween({2024, 1, 2}, {2024, 1, 1}, messages), 0);
    EXPECT_EQ(DaysBetween({2024, 1, 1}, {2024, 1, 1}, messages), 0);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0], QStringLiteral("日付の前後関係を確認して下さい。"));
}

TEST(WeekdayNames, FromTheEpochOnOnly)
{
    test::FakeMessages messages;
    struct Case
    {
        CalendarDate date;
        const char16_t *longName;
        const char16_t *shortName;
    };
    const Case cases[] = {
        {{2024, 1, 1}, u"（月曜日）", u"(月)"},
        {{2024, 10, 7}, u"（月曜日）", u"(月)"},
        {{1582, 10, 15}, u"（金曜日）", u"(金)"},
        {{1582, 1, 2}, u"（土曜日）", u"(土)"},
        {{1582, 1, 3}, u"（日曜日）", u"(日)"},
        {{2024, 1, 2}, u"（火曜日）", u"(火)"},
        {{2024, 1, 3}, u"（水曜日）", u"(水)"},
        {{2024, 1, 4}, u"（木曜日）", u"(木)"},
        {{2000, 2, 29}, u"（火曜日）", u"(火)"},
        {{1581, 12, 31}, u"", u""},
        {{-5, 1, 1}, u"", u""},
        {{2024, 13, 1}, u"", u""},
        // Far dates: the day count from 1582 exceeds 32 bits. 400 years are a
        // whole number of weeks, so year 2024 + 400k repeats 2024's weekdays.
        {{2024 + 400 * 5000000, 1, 1}, u"（月曜日）", u"(月)"},
        {{MaxInt, 12, 31}, u"（火曜日）", u"(火)"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(WeekdayNameLong(c.date, messages), QString::fromUtf16(c.longName)) << c.date.year;
        EXPECT_EQ(WeekdayNameShort(c.date, messages), QString::fromUtf16(c.shortName)) << c.date.year;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST(WeekdayNames, TheEpochItselfShowsTheOrderMessageOnceAndIsFriday)
{
    test::FakeMessages messages;
    EXPECT_EQ(WeekdayNameLong({1582, 1, 1}, messages), QStringLiteral("（金曜日）"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], DateOrderMessage());
    EXPECT_EQ(WeekdayNameShort({1582, 1, 1}, messages), QStringLiteral("(金)"));
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST(DateTexts, CompactAndPaddedPieces)
{
    test::FakeMessages messages;
    EXPECT_EQ(FormatDateCompact({2024, 10, 7}, messages), QStringLiteral("2024年10月7日（月曜日）"));
    EXPECT_EQ(FormatDateCompact({2024, 5, 3}, messages), QStringLiteral("2024年5月3日（金曜日）"));
    EXPECT_EQ(FormatDateCompact({1581, 4, 10}, messages), QStringLiteral("1581年4月10日"));
    EXPECT_EQ(FormatDateCompact({-1, 12, 31}, messages), QStringLiteral("-1年12月31日"));
    EXPECT_EQ(YearText(2024), QStringLiteral("2024年"));
    EXPECT_EQ(MonthText(9), QStringLiteral(" 9月"));
    EXPECT_EQ(MonthText(10), QStringLiteral("10月"));
    EXPECT_EQ(DayText(1), QStringLiteral(" 1日"));
    EXPECT_EQ(DayText(23), QStringLiteral("23日"));
    EXPECT_EQ(DayText(0), QStringLiteral(" 0日"));
    EXPECT_EQ(DayText(-5), QStringLiteral(" -5日"));
    EXPECT_TRUE(messages.shown.empty());
}
