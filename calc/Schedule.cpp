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

int FirstWeekForHani(int hani)
{
    return hani >= 0 && hani <= 2 ? FirstScheduleWeek + 4 * hani : FirstScheduleWeek;
}

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
        const bool reserved = c.unicode() < 0x20 || c.unicode() == 0x7f
            || QStringView(u"/\\:*?\"<>|").contains(c);
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
                                      const ScheduleSettings &settings, int firstWeek)
{
    const std::optional<ParsedCalculationInput> parsed = ParseCalculationInput(input);
    if (!parsed)
        return std::nullopt;
    const std::optional<PregnancyDates> dates =
        ComputePregnancyDates(input.basis, parsed->baseDate, parsed->cycle);
    if (!dates)
        return std::nullopt;

    Schedule schedule;
    schedule.title = ScheduleTitle(settings.Tit, motherName);
    schedule.dueDateTerm = DueDateTerm(settings.Yoteiyogo);
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

QString MonthLabel(const ScheduleRow &row, const ScheduleSettings &settings)
{
    if (row.monthNumber)
        return settings.Tsuki1 + TwoColumnNumber(*row.monthNumber) + settings.Tsuki2;
    const int width = platform::ShiftJisWidth(settings.Tsuki1 + settings.Tsuki2) + 2;
    return QString(width, QLatin1Char(' '));
}

QString WeekLabel(const ScheduleRow &row, const ScheduleSettings &settings)
{
    return settings.Shu1 + TwoColumnNumber(row.week) + settings.Shu2;
}

QString RowDateText(const CalendarDate &date, platform::Messages &messages)
{
    return MonthText(date.month) + DayText(date.day) + WeekdayNameShort(date, messages);
}

} // namespace ralvo
