#include "calc/Schedule.h"

#include "platform/ShiftJis.h"

#include <algorithm>

namespace ralvo {

namespace {

constexpr int FirstTermWeek = 37;
constexpr int LastTermWeek = 41;

std::optional<int> MonthNumberOfWeek(int week)
{
    if (week % 4 != 0 || week == DueWeek)
        return std::nullopt;
    return week / 4 + 1;
}

} // namespace

int FirstWeekForHani(int hani) { return hani >= 0 && hani <= 2 ? FirstScheduleWeek + 4 * hani : FirstScheduleWeek; }

QString ScheduleTitle(const QString &titleTemplate, const QString &motherName)
{
    QString title = titleTemplate;
    const qsizetype at = title.indexOf(QLatin1String("??"));
    if (at >= 0)
        title.replace(at, 2, motherName);
    return title;
}

QString ScheduleFileBaseName(const QString &title)
{
    QString name;
    name.reserve(title.size());
    for (const QChar c : title) {
        const bool reserved = c.unicode() < 0x20 || c.unicode() == 0x7f || QStringView(u"/\\:*?\"<>|").contains(c);
        name += reserved ? QLatin1Char('_') : c;
    }
    name = name.trimmed();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("スケジュール");
    return name;
}

QString DueDateTerm(int yoteiyogo)
{
    return yoteiyogo == 0 ? QStringLiteral("出産予定日") : QStringLiteral("分娩予定日");
}

std::optional<Schedule> BuildSchedule(const CalculationInput &input, const QString &motherName,
                                      const ScheduleNotation &notation, int firstWeek)
{
    const std::optional<ParsedCalculationInput> parsed = ParseCalculationInput(input);
    if (!parsed)
        return std::nullopt;
    const std::optional<PregnancyDates> dates = ComputePregnancyDates(input.basis, parsed->baseDate, parsed->cycle);
    if (!dates)
        return std::nullopt;

    Schedule schedule;
    schedule.title = ScheduleTitle(notation.titleTemplate, motherName);
    schedule.dueDateTerm = DueDateTerm(notation.dueDateTermKind);
    schedule.basis = input.basis;
    schedule.input = *parsed;
    schedule.dates = *dates;

    const int first = std::clamp(firstWeek, FirstScheduleWeek, LastScheduleWeek);
    for (int week = first; week <= LastScheduleWeek; ++week) {
        ScheduleRow row;
        row.week = week;
        row.startDate = dates->ovulationDate;
        if (!AddDays(row.startDate, 7 * qint64(week - 2)))
            return std::nullopt;
        row.endDate = row.startDate;
        if (!AddDays(row.endDate, 6))
            return std::nullopt;
        row.monthNumber = MonthNumberOfWeek(week);
        row.inTermWindow = week >= FirstTermWeek && week <= LastTermWeek;
        row.isDueWeek = week == DueWeek;
        schedule.rows.push_back(row);
    }
    return schedule;
}

QString MonthLabel(const ScheduleRow &row, const ScheduleNotation &notation)
{
    if (row.monthNumber)
        return notation.monthPrefix + TwoColumnNumber(*row.monthNumber) + notation.monthSuffix;
    const int width = platform::ShiftJisWidth(notation.monthPrefix + notation.monthSuffix) + 2;
    return QString(width, QLatin1Char(' '));
}

QString WeekLabel(const ScheduleRow &row, const ScheduleNotation &notation)
{
    return notation.weekPrefix + TwoColumnNumber(row.week) + notation.weekSuffix;
}

QString RowDateText(const CalendarDate &date, platform::Messages &messages)
{
    return MonthText(date.month) + DayText(date.day) + WeekdayNameShort(date, messages);
}

} // namespace ralvo
