#include "calc/PregnancyCalendar.h"

#include "calc/Gestation.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace ralvo {

namespace {

// A day whose number is known: 2025-01-05 is JDN 2460681.
constexpr CalendarDate KnownDay{2025, 1, 5};
constexpr qint64 KnownDayNumber = 2460681;
constexpr int BranchCount = 12;
constexpr int InuBranch = 9;

constexpr int FifthMonthFirstDay = 16 * 7; // 16 weeks 0 days
constexpr int FifthMonthLastDay = 19 * 7 + 6;
constexpr int FirstBirthDay = 12 * 7 + 1; // 12 weeks 1 day
constexpr int PostnatalLeaveDays = 56;
constexpr int AllowanceDaysBefore = 42; // up to and including the birth day
constexpr int AllowanceDaysBeforeMultiple = 98;

// The day `days` after 0 weeks 0 days.
std::optional<CalendarDate> GestationDay(const CalendarDate &dueDate, qint64 days)
{
    return MovedBy(dueDate, days - DaysToDueDate);
}

std::optional<DateSpan> GestationSpan(const CalendarDate &dueDate, qint64 firstDay, qint64 lastDay)
{
    const auto first = GestationDay(dueDate, firstDay);
    const auto last = GestationDay(dueDate, lastDay);
    if (!first || !last)
        return std::nullopt;
    return DateSpan{*first, *last};
}

bool IsBefore(const CalendarDate &a, const CalendarDate &b)
{
    const auto days = SignedDaysBetween(a, b);
    return days && *days > 0;
}

} // namespace

std::optional<DateSpan> PregnancyWeekDays(const CalendarDate &dueDate, int week)
{
    return GestationSpan(dueDate, qint64(week) * 7, qint64(week) * 7 + 6);
}

std::vector<int> StandardCheckupWeeks() { return {8, 12, 16, 20, 24, 26, 28, 30, 32, 34, 36, 37, 38, 39}; }

bool IsCheckupPlan(const std::vector<int> &weeks)
{
    if (weeks.empty())
        return false;
    int previous = FirstCheckupWeek - 1;
    for (const int week : weeks) {
        if (week <= previous || week > LastCheckupWeek)
            return false;
        previous = week;
    }
    return true;
}

std::optional<std::vector<int>> ParseCheckupWeeks(const QString &text)
{
    std::vector<int> weeks;
    for (const QString &item : text.split(QLatin1Char(','))) {
        // Digits only: toInt alone would take blanks and signs.
        if (item.isEmpty() || item.size() > 2
            || !std::all_of(item.begin(), item.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            return std::nullopt;
        weeks.push_back(item.toInt());
    }
    if (!IsCheckupPlan(weeks))
        return std::nullopt;
    return weeks;
}

std::optional<std::vector<Checkup>> CheckupsOf(const CalendarDate &dueDate, const std::vector<int> &weeks)
{
    if (!IsCheckupPlan(weeks))
        return std::nullopt;
    std::vector<Checkup> checkups;
    checkups.reserve(weeks.size());
    for (const int week : weeks) {
        const std::optional<DateSpan> days = PregnancyWeekDays(dueDate, week);
        if (!days)
            return std::nullopt;
        checkups.push_back(Checkup{int(checkups.size()) + 1, week, *days});
    }
    return checkups;
}

std::optional<qint64> JulianDayNumber(const CalendarDate &date)
{
    const std::optional<qint64> fromKnown = SignedDaysBetween(KnownDay, date);
    if (!fromKnown)
        return std::nullopt;
    return KnownDayNumber + *fromKnown;
}

bool IsInuNoHi(const CalendarDate &date)
{
    const std::optional<qint64> number = JulianDayNumber(date);
    if (!number)
        return false;
    return (*number % BranchCount + BranchCount) % BranchCount == InuBranch;
}

std::optional<DateSpan> FifthMonthDays(const CalendarDate &dueDate)
{
    return GestationSpan(dueDate, FifthMonthFirstDay, FifthMonthLastDay);
}

std::optional<std::vector<CalendarDate>> FifthMonthInuNoHi(const CalendarDate &dueDate)
{
    const std::optional<DateSpan> month = FifthMonthDays(dueDate);
    if (!month)
        return std::nullopt;
    std::vector<CalendarDate> days;
    for (int offset = 0; offset <= FifthMonthLastDay - FifthMonthFirstDay; ++offset) {
        const std::optional<CalendarDate> day = MovedBy(month->first, offset);
        if (!day)
            return std::nullopt;
        if (IsInuNoHi(*day))
            days.push_back(*day);
    }
    return days;
}

std::optional<DateSpan> BirthDateRange(const CalendarDate &dueDate)
{
    return GestationSpan(dueDate, FirstBirthDay, LastGestationDay);
}

std::optional<CalendarDate> DayBeforeFirstBirthday(const CalendarDate &birth)
{
    if (!IsNormalized(birth) || birth.year == std::numeric_limits<qint32>::max())
        return std::nullopt;
    const CalendarDate birthday{birth.year + 1, birth.month, birth.day};
    if (!IsNormalized(birthday)) // 29 February in a common year
        return CalendarDate{birthday.year, birthday.month, DaysInMonth(birthday.year, birthday.month)};
    return MovedBy(birthday, -1);
}

std::optional<BirthLeave> BirthLeaveOf(const CalendarDate &dueDate, const CalendarDate &birth, bool multiple)
{
    const std::optional<DateSpan> range = BirthDateRange(dueDate);
    if (!range || !IsNormalized(birth) || IsBefore(birth, range->first) || IsBefore(range->last, birth))
        return std::nullopt;

    const std::optional<DueDateMilestones> milestones = MilestonesOf(dueDate, multiple);
    const CalendarDate &countedFrom = IsBefore(dueDate, birth) ? dueDate : birth;
    const auto allowanceStart =
        MovedBy(countedFrom, 1 - (multiple ? AllowanceDaysBeforeMultiple : AllowanceDaysBefore));
    const auto postnatalStart = MovedBy(birth, 1);
    const auto postnatalEnd = MovedBy(birth, PostnatalLeaveDays);
    const auto childcareStart = MovedBy(birth, PostnatalLeaveDays + 1);
    const auto childcareEnd = DayBeforeFirstBirthday(birth);
    if (!milestones || !allowanceStart || !postnatalStart || !postnatalEnd || !childcareStart || !childcareEnd)
        return std::nullopt;

    BirthLeave leave;
    leave.birth = birth;
    if (!IsBefore(birth, milestones->maternityLeaveStart))
        leave.prenatalLeave = DateSpan{milestones->maternityLeaveStart, birth};
    leave.postnatalLeave = DateSpan{*postnatalStart, *postnatalEnd};
    leave.childcareLeave = DateSpan{*childcareStart, *childcareEnd};
    leave.maternityAllowance = DateSpan{*allowanceStart, *postnatalEnd};
    return leave;
}

} // namespace ralvo
