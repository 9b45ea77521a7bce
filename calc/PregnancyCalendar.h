#pragma once

// The pregnancy's calendar beside the week table: the public check-ups, the
// 戌の日 of the fifth pregnancy month (the day of the 帯祝い), and the leave
// and the maternity allowance around the birth. Pure functions of the due
// date (and of the birth date), shared by the command line, the calendar
// file and the windows.
//
// Everything is counted from the due date D: pregnancy week w starts on
// D − 280 + 7w and ends six days later.

#include "calc/Calendar.h"

#include <QString>

#include <optional>
#include <vector>

namespace ralvo {

// A run of days, both ends included.
struct DateSpan
{
    CalendarDate first;
    CalendarDate last;

    friend bool operator==(const DateSpan &, const DateSpan &) = default;
};

// The first and the last day of pregnancy week `week`; none when the due
// date's month is outside 1 to 12 or a day's year does not fit 32 bits.
std::optional<DateSpan> PregnancyWeekDays(const CalendarDate &dueDate, int week);

// Weeks a check-up can be planned in: those of the schedule.
inline constexpr int FirstCheckupWeek = 4;
inline constexpr int LastCheckupWeek = 43;

// The national guideline's 14 visits: every 4 weeks up to week 23, every
// 2 weeks from 24 to 35, every week from 36: 8, 12, 16, 20, 24, 26, 28, 30,
// 32, 34, 36, 37, 38, 39.
std::vector<int> StandardCheckupWeeks();

// Whether the weeks make a plan: at least one, each from 4 to 43, strictly
// ascending (so without repeats).
bool IsCheckupPlan(const std::vector<int> &weeks);

// A clinic's own plan written "8,12,16,…" (decimal weeks and commas, no
// blanks); none unless it makes a plan.
std::optional<std::vector<int>> ParseCheckupWeeks(const QString &text);

// One visit: the n-th of the plan, in its week, on a day of that week the
// clinic chooses.
struct Checkup
{
    int number = 1; // 1 for the first visit
    int week = 0;
    DateSpan days; // the whole week

    friend bool operator==(const Checkup &, const Checkup &) = default;
};

// The visits of a plan in order; none when `weeks` is no plan or a week's
// days cannot be counted (see PregnancyWeekDays).
std::optional<std::vector<Checkup>> CheckupsOf(const CalendarDate &dueDate, const std::vector<int> &weeks);

// The Julian Day Number (2025-01-05 is 2460681); none for a month outside
// 1 to 12. A day beyond its month counts on into the next.
std::optional<qint64> JulianDayNumber(const CalendarDate &date);

// Whether the day is 戌 in the twelve-day cycle of branches: its Julian Day
// Number leaves 9 when divided by 12.
bool IsInuNoHi(const CalendarDate &date);

// The fifth pregnancy month: 16 weeks 0 days to 19 weeks 6 days (D − 168 to
// D − 141).
std::optional<DateSpan> FifthMonthDays(const CalendarDate &dueDate);

// The 戌の日 of the fifth month in order, two or three of them; the first is
// the one most families keep. None as for FifthMonthDays.
std::optional<std::vector<CalendarDate>> FifthMonthInuNoHi(const CalendarDate &dueDate);

// Births the leave rules count, from the fourth pregnancy month on: 12 weeks
// 1 day (D − 195) to 43 weeks 6 days (D + 27).
std::optional<DateSpan> BirthDateRange(const CalendarDate &dueDate);

// The day a child born on `birth` reaches one year of age: the day before
// its first birthday, or the last day of that month when the birthday does
// not exist (born 2024-02-29: 2025-02-28). None for a date that is not
// normalized or whose next year does not fit 32 bits.
std::optional<CalendarDate> DayBeforeFirstBirthday(const CalendarDate &birth);

// The mother's leave and allowance around an actual birth.
struct BirthLeave
{
    CalendarDate birth;
    // 産前休業: from D − 41 (D − 97 for twins or more) to the birth; none
    // when the birth comes before that first day.
    std::optional<DateSpan> prenatalLeave;
    DateSpan postnatalLeave; // 産後休業: B + 1 to B + 56
    // 育児休業 after the postnatal leave: B + 57 to the day the child is one
    // year old (DayBeforeFirstBirthday).
    DateSpan childcareLeave;
    // 出産手当金: the 42 days (98) up to and including the birth day counted
    // back from B, or from D when the birth is later, then to B + 56.
    DateSpan maternityAllowance;

    friend bool operator==(const BirthLeave &, const BirthLeave &) = default;
};

// The leave for a birth on `birth`; none when the birth is not a normalized
// date within BirthDateRange, or a date cannot be counted.
std::optional<BirthLeave> BirthLeaveOf(const CalendarDate &dueDate, const CalendarDate &birth, bool multiple);

} // namespace ralvo
