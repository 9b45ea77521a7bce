#include "calc/Gestation.h"

namespace ralvo {

namespace {

std::optional<CalendarDate> Moved(CalendarDate date, qint64 days)
{
    if (!AddDays(date, days))
        return std::nullopt;
    return date;
}

} // namespace

qint64 PregnancyMonth(const GestationalAge &age)
{
    const qint64 weeks = age.Weeks();
    return (weeks >= 0 ? weeks / 4 : -((-weeks + 3) / 4)) + 1;
}

Trimester TrimesterOf(const GestationalAge &age)
{
    if (age.Weeks() < 16)
        return Trimester::First;
    if (age.Weeks() < 28)
        return Trimester::Second;
    return Trimester::Third;
}

QString TrimesterName(Trimester trimester)
{
    switch (trimester) {
    case Trimester::First: return QStringLiteral("初期");
    case Trimester::Second: return QStringLiteral("中期");
    case Trimester::Third: return QStringLiteral("後期");
    }
    return {};
}

std::optional<DueDateMilestones> MilestonesOf(const CalendarDate &dueDate, bool multiple)
{
    const auto start = Moved(dueDate, 37 * 7 - DaysToDueDate);
    const auto end = Moved(dueDate, 41 * 7 + 6 - DaysToDueDate);
    const auto leave = Moved(dueDate, multiple ? -97 : -41);
    if (!start || !end || !leave)
        return std::nullopt;
    return DueDateMilestones{*start, *end, *leave};
}

} // namespace ralvo
