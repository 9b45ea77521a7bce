#include "calc/Gestation.h"

namespace ralvo {

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
    case Trimester::First:
        return QStringLiteral("初期");
    case Trimester::Second:
        return QStringLiteral("中期");
    case Trimester::Third:
        return QStringLiteral("後期");
    }
    return {};
}

QString TodayLineText(const GestationalAge &age)
{
    if (age.days < 0 || age.days > LastGestationDay)
        return QStringLiteral("本日は妊娠期間外です");
    const QString weeks = QStringLiteral("妊娠%1週%2日").arg(age.Weeks()).arg(age.DayOfWeek());
    const qint64 untilDue = age.DaysUntilDue();
    if (untilDue > 0)
        return weeks + QStringLiteral("（予定日まであと%1日）").arg(untilDue);
    if (untilDue == 0)
        return weeks + QStringLiteral("（予定日当日）");
    return weeks + QStringLiteral("（予定日から%1日経過）").arg(-untilDue);
}

std::optional<DueDateMilestones> MilestonesOf(const CalendarDate &dueDate, bool multiple)
{
    const auto start = MovedBy(dueDate, 37 * 7 - DaysToDueDate);
    const auto end = MovedBy(dueDate, 41 * 7 + 6 - DaysToDueDate);
    const auto leave = MovedBy(dueDate, multiple ? -97 : -41);
    if (!start || !end || !leave)
        return std::nullopt;
    return DueDateMilestones{*start, *end, *leave};
}

} // namespace ralvo
