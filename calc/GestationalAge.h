#pragma once

// Gestational age on a day, counted from the due date: the due date is
// 40 weeks 0 days, so 280 days before it is 0 weeks 0 days. Because it is
// anchored at the due date it follows the calculation basis and the cycle
// like every other date of the schedule.

#include "calc/Calendar.h"

#include <optional>

namespace ralvo {

// Days from 0 weeks 0 days to the due date.
inline constexpr int DaysToDueDate = 280;

struct GestationalAge
{
    qint64 days = 0; // days since 0 weeks 0 days; negative before it

    qint64 Weeks() const;        // completed weeks (floor of days / 7)
    int DayOfWeek() const;       // 0 to 6, the days past the completed weeks
    qint64 DaysUntilDue() const; // 280 - days; negative after the due date

    friend bool operator==(const GestationalAge &, const GestationalAge &) = default;
};

// The age on `day` for a pregnancy due on `dueDate`; none when either date
// has a month outside 1 to 12. Days outside their month count on into the
// next (as AddDays normalizes them).
std::optional<GestationalAge> GestationalAgeOn(const CalendarDate &dueDate, const CalendarDate &day);

} // namespace ralvo
