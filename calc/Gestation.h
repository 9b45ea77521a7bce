#pragma once

// Where a pregnancy stands, from its gestational age and its due date: the
// Japanese pregnancy month, the trimester, the full-term window and the start
// of the maternity leave before birth.

#include "calc/GestationalAge.h"

#include <QString>

#include <optional>

namespace ralvo {

// The Japanese pregnancy month: weeks ÷ 4 + 1, rounded down (weeks 0–3 are
// the first month, week 40 the eleventh; −1 weeks gives 0).
qint64 PregnancyMonth(const GestationalAge &age);

enum class Trimester {
    First,  // "初期": up to 15 weeks 6 days, and before 0 weeks
    Second, // "中期": 16 weeks 0 days to 27 weeks 6 days
    Third,  // "後期": from 28 weeks 0 days
};

Trimester TrimesterOf(const GestationalAge &age);
// "初期", "中期" or "後期".
QString TrimesterName(Trimester trimester);

// The dates of a pregnancy that follow from its due date.
struct DueDateMilestones
{
    CalendarDate fullTermStart; // 37 weeks 0 days: the due date − 21
    CalendarDate fullTermEnd;   // 41 weeks 6 days: the due date + 13
    // First day of the leave before birth, which covers the 42 days (98 for
    // twins or more) up to and including the due date: the due date − 41
    // (− 97).
    CalendarDate maternityLeaveStart;

    friend bool operator==(const DueDateMilestones &, const DueDateMilestones &) = default;
};

// Latest age the pregnancy's own span covers: 43 weeks 6 days, the last day
// of the schedule's last week.
inline constexpr int LastGestationDay = 43 * 7 + 6;

// The main window's 本日 line for the age on today's date:
// "妊娠12週3日（予定日まであと193日）" up to the due date, "妊娠40週0日（予定日当日）"
// on it and "妊娠41週2日（予定日から9日経過）" after it; before 0 weeks 0 days or
// after 43 weeks 6 days "本日は妊娠期間外です".
QString TodayLineText(const GestationalAge &age);

// The milestones of a due date; none when its month is outside 1 to 12 or a
// result's year does not fit 32 bits.
std::optional<DueDateMilestones> MilestonesOf(const CalendarDate &dueDate, bool multiple);

} // namespace ralvo
