#include "calc/GestationalAge.h"

namespace ralvo {

qint64 GestationalAge::Weeks() const
{
    // Floor division, so day -1 lies in week -1 (day 6), not in week 0.
    return days >= 0 ? days / 7 : -((-days + 6) / 7);
}

int GestationalAge::DayOfWeek() const { return int(days - Weeks() * 7); }

qint64 GestationalAge::DaysUntilDue() const { return DaysToDueDate - days; }

std::optional<GestationalAge> GestationalAgeOn(const CalendarDate &dueDate, const CalendarDate &day)
{
    const std::optional<qint64> fromDue = SignedDaysBetween(dueDate, day);
    if (!fromDue)
        return std::nullopt;
    return GestationalAge{DaysToDueDate + *fromDue};
}

} // namespace ralvo
