#include "calc/PregnancyCalendar.h"

#include "support/CalcPrinters.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ralvo;

namespace {

constexpr CalendarDate Due{2026, 1, 15};

CalendarDate Date(int y, int m, int d) { return CalendarDate{y, m, d}; }

DateSpan Span(CalendarDate first, CalendarDate last) { return DateSpan{first, last}; }

} // namespace

namespace ralvo {
inline void PrintTo(const DateSpan &span, std::ostream *os)
{
    PrintTo(span.first, os);
    *os << "..";
    PrintTo(span.last, os);
}
inline void PrintTo(const Checkup &checkup, std::ostream *os)
{
    *os << '#' << checkup.number << " week " << checkup.week << ' ';
    PrintTo(checkup.days, os);
}
} // namespace ralvo

TEST(CheckupsOf, TheStandardPlanCoversWeeks8To39)
{
    const auto checkups = CheckupsOf(Due, StandardCheckupWeeks());
    ASSERT_TRUE(checkups);
    ASSERT_EQ(checkups->size(), 14u);
    EXPECT_EQ(checkups->front(), (Checkup{1, 8, Span(Date(2025, 6, 5), Date(2025, 6, 11))}));
    EXPECT_EQ(checkups->at(4), (Checkup{5, 24, Span(Date(2025, 9, 25), Date(2025, 10, 1))}));
    EXPECT_EQ(checkups->back(), (Checkup{14, 39, Span(Date(2026, 1, 8), Date(2026, 1, 14))}));
    for (std::size_t i = 1; i < checkups->size(); ++i) {
        const int gap = checkups->at(i).week - checkups->at(i - 1).week;
        const int week = checkups->at(i).week;
        EXPECT_EQ(gap, week <= 24 ? 4 : week <= 36 ? 2 : 1) << week;
    }

    // A due date in a leap year: week 37 runs over 29 February; a due date
    // on 29 February: week 39 ends the day before it.
    const auto leap = CheckupsOf(Date(2024, 3, 20), {37, 38});
    ASSERT_TRUE(leap);
    EXPECT_EQ(leap->front().days, Span(Date(2024, 2, 28), Date(2024, 3, 5)));
    EXPECT_EQ(leap->back(), (Checkup{2, 38, Span(Date(2024, 3, 6), Date(2024, 3, 12))}));
    const auto onLeapDay = CheckupsOf(Date(2024, 2, 29), StandardCheckupWeeks());
    ASSERT_TRUE(onLeapDay);
    EXPECT_EQ(onLeapDay->front().days, Span(Date(2023, 7, 20), Date(2023, 7, 26)));
    EXPECT_EQ(onLeapDay->back().days, Span(Date(2024, 2, 22), Date(2024, 2, 28)));

    EXPECT_FALSE(CheckupsOf(Due, {}));
    EXPECT_FALSE(CheckupsOf(Due, {12, 8}));
    EXPECT_FALSE(CheckupsOf(Date(2024, 13, 1), StandardCheckupWeeks()));
    EXPECT_FALSE(CheckupsOf(Date(std::numeric_limits<qint32>::min(), 1, 1), {8}));
}

TEST(ParseCheckupWeeks, AscendingWeeks4To43WithoutRepeats)
{
    EXPECT_EQ(ParseCheckupWeeks(QStringLiteral("8,12,16,20,24,26,28,30,32,34,36,37,38,39")), StandardCheckupWeeks());
    EXPECT_EQ(ParseCheckupWeeks(QStringLiteral("4,43")), (std::vector<int>{4, 43}));
    EXPECT_EQ(ParseCheckupWeeks(QStringLiteral("10")), (std::vector<int>{10}));
    EXPECT_EQ(ParseCheckupWeeks(QStringLiteral("08,09")), (std::vector<int>{8, 9}));
    for (const char *bad : {"", "3", "44", "12,8", "8,8", "8,,12", "8,", ",8", " 8", "8 ,9", "+8", "-8", "8.0", "１２",
                            "100", "8;12", "2147483656"})
        EXPECT_FALSE(ParseCheckupWeeks(QString::fromUtf8(bad))) << bad;
}

TEST(InuNoHi, TheTwelveDayCycleFromTheJulianDayNumber)
{
    EXPECT_EQ(JulianDayNumber(Date(2025, 1, 5)), 2460681);
    EXPECT_EQ(JulianDayNumber(Date(-4713, 11, 24)), 0); // the day count's first day
    EXPECT_EQ(JulianDayNumber(Date(2024, 2, 30)), JulianDayNumber(Date(2024, 3, 1)));
    EXPECT_FALSE(JulianDayNumber(Date(2024, 0, 1)));

    EXPECT_TRUE(IsInuNoHi(Date(2025, 1, 5)));
    EXPECT_TRUE(IsInuNoHi(Date(2025, 1, 17)));
    EXPECT_TRUE(IsInuNoHi(Date(2024, 12, 24)));
    EXPECT_FALSE(IsInuNoHi(Date(2025, 1, 6)));
    EXPECT_FALSE(IsInuNoHi(Date(2025, 1, 4)));
    // Before the day count's first day the remainder is still 9, not -3.
    EXPECT_TRUE(IsInuNoHi(Date(-4713, 11, 21)));
    EXPECT_FALSE(IsInuNoHi(Date(-4713, 11, 15)));
    EXPECT_FALSE(IsInuNoHi(Date(2025, 13, 5)));
}

TEST(FifthMonthInuNoHi, TwoOrThreeDaysFrom16Weeks0DaysTo19Weeks6Days)
{
    using Days = std::vector<CalendarDate>;
    struct Case
    {
        CalendarDate due;
        Days days;
    };
    const Case cases[] = {
        {Due, {Date(2025, 8, 9), Date(2025, 8, 21)}},
        {Date(2024, 10, 7), {Date(2024, 4, 28), Date(2024, 5, 10)}},
        {Date(2024, 2, 29), {Date(2023, 9, 25), Date(2023, 10, 7)}},                     // due on 29 February
        {Date(2028, 2, 29), {Date(2027, 9, 16), Date(2027, 9, 28), Date(2027, 10, 10)}}, // three
        // A 戌の日 on the month's first day (D − 168) and on its last (D − 141).
        {Date(2025, 6, 22), {Date(2025, 1, 5), Date(2025, 1, 17), Date(2025, 1, 29)}},
        {Date(2025, 5, 26), {Date(2024, 12, 12), Date(2024, 12, 24), Date(2025, 1, 5)}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FifthMonthInuNoHi(c.due), c.days) << c.due.year << '-' << c.due.month << '-' << c.due.day;
        const auto month = FifthMonthDays(c.due);
        ASSERT_TRUE(month);
        EXPECT_EQ(SignedDaysBetween(month->first, c.due), 168);
        EXPECT_EQ(SignedDaysBetween(month->last, c.due), 141);
    }
    EXPECT_FALSE(FifthMonthInuNoHi(Date(2024, 13, 1)));
}

TEST(DayBeforeFirstBirthday, JapaneseReckoningOfAge)
{
    const std::pair<CalendarDate, CalendarDate> cases[] = {
        {Date(2025, 10, 15), Date(2026, 10, 14)}, {Date(2024, 2, 29), Date(2025, 2, 28)}, // no 29 February
        {Date(2024, 3, 1), Date(2025, 2, 28)},    {Date(2023, 3, 1), Date(2024, 2, 29)},  // into a leap February
        {Date(2025, 1, 1), Date(2025, 12, 31)},   {Date(2026, 1, 20), Date(2027, 1, 19)},
    };
    for (const auto &[birth, day] : cases)
        EXPECT_EQ(DayBeforeFirstBirthday(birth), day) << birth.year << '-' << birth.month << '-' << birth.day;
    EXPECT_FALSE(DayBeforeFirstBirthday(Date(2023, 2, 29)));
    EXPECT_FALSE(DayBeforeFirstBirthday(Date(std::numeric_limits<qint32>::max(), 1, 1)));
}

TEST(BirthLeaveOf, BeforeOnAndAfterTheDueDateForOneOrMoreBabies)
{
    struct Case
    {
        const char *what;
        CalendarDate due;
        CalendarDate birth;
        bool multiple;
        std::optional<DateSpan> prenatal;
        DateSpan postnatal;
        CalendarDate childcareEnd;
        DateSpan allowance;
    };
    const Case cases[] = {
        {"after the due date: the prenatal leave and the allowance run to the birth", Due, Date(2026, 1, 20), false,
         Span(Date(2025, 12, 5), Date(2026, 1, 20)), Span(Date(2026, 1, 21), Date(2026, 3, 17)), Date(2027, 1, 19),
         Span(Date(2025, 12, 5), Date(2026, 3, 17))},
        {"on the due date", Due, Due, false, Span(Date(2025, 12, 5), Due), Span(Date(2026, 1, 16), Date(2026, 3, 12)),
         Date(2027, 1, 14), Span(Date(2025, 12, 5), Date(2026, 3, 12))},
        {"before: the allowance counts back from the birth", Due, Date(2026, 1, 10), false,
         Span(Date(2025, 12, 5), Date(2026, 1, 10)), Span(Date(2026, 1, 11), Date(2026, 3, 7)), Date(2027, 1, 9),
         Span(Date(2025, 11, 30), Date(2026, 3, 7))},
        {"twins: 98 days", Due, Date(2026, 1, 10), true, Span(Date(2025, 10, 10), Date(2026, 1, 10)),
         Span(Date(2026, 1, 11), Date(2026, 3, 7)), Date(2027, 1, 9), Span(Date(2025, 10, 5), Date(2026, 3, 7))},
        {"twins after the due date", Due, Date(2026, 2, 11), true, Span(Date(2025, 10, 10), Date(2026, 2, 11)),
         Span(Date(2026, 2, 12), Date(2026, 4, 8)), Date(2027, 2, 10), Span(Date(2025, 10, 10), Date(2026, 4, 8))},
        {"born before the prenatal leave would start", Due, Date(2025, 11, 1), false, std::nullopt,
         Span(Date(2025, 11, 2), Date(2025, 12, 27)), Date(2026, 10, 31), Span(Date(2025, 9, 21), Date(2025, 12, 27))},
        {"born on 29 February", Date(2024, 3, 20), Date(2024, 2, 29), false, Span(Date(2024, 2, 8), Date(2024, 2, 29)),
         Span(Date(2024, 3, 1), Date(2024, 4, 25)), Date(2025, 2, 28), Span(Date(2024, 1, 19), Date(2024, 4, 25))},
        {"the earliest birth counted, 12 weeks 1 day", Due, Date(2025, 7, 4), false, std::nullopt,
         Span(Date(2025, 7, 5), Date(2025, 8, 29)), Date(2026, 7, 3), Span(Date(2025, 5, 24), Date(2025, 8, 29))},
    };
    for (const Case &c : cases) {
        const auto leave = BirthLeaveOf(c.due, c.birth, c.multiple);
        ASSERT_TRUE(leave) << c.what;
        EXPECT_EQ(leave->birth, c.birth) << c.what;
        EXPECT_EQ(leave->prenatalLeave, c.prenatal) << c.what;
        EXPECT_EQ(leave->postnatalLeave, c.postnatal) << c.what;
        EXPECT_EQ(leave->childcareLeave.first, (*MovedBy(c.postnatal.last, 1))) << c.what;
        EXPECT_EQ(leave->childcareLeave.last, c.childcareEnd) << c.what;
        EXPECT_EQ(leave->maternityAllowance, c.allowance) << c.what;
    }
}

TEST(BirthLeaveOf, RefusesBirthsOutside12Weeks1DayTo43Weeks6Days)
{
    EXPECT_EQ(BirthDateRange(Due), Span(Date(2025, 7, 4), Date(2026, 2, 11)));
    EXPECT_TRUE(BirthLeaveOf(Due, Date(2026, 2, 11), false));
    EXPECT_FALSE(BirthLeaveOf(Due, Date(2026, 2, 12), false));
    EXPECT_FALSE(BirthLeaveOf(Due, Date(2025, 7, 3), true));
    EXPECT_FALSE(BirthLeaveOf(Due, Date(2026, 1, 32), false)); // not a day of its month
    EXPECT_FALSE(BirthLeaveOf(Date(2024, 13, 1), Date(2024, 12, 1), false));
}
