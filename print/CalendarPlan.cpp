#include "print/CalendarPlan.h"

#include "calc/Calendar.h"
#include "calc/Schedule.h"
#include "calc/Wareki.h"
#include "print/SchedulePage.h"

#include <QStringList>

#include <algorithm>

namespace ralvo {

PlainInputFields CalendarFields(const LastInputFields &mainWindow, CalendarBasisChoice choice)
{
    PlainInputFields fields;
    switch (choice) {
    case CalendarBasisChoice::AsMainWindow:
        fields.basis = mainWindow.Basis();
        break;
    case CalendarBasisChoice::EmbryoTransferDay3:
        fields.basis = int(CalculationBasis::EmbryoTransferDay3);
        break;
    case CalendarBasisChoice::EmbryoTransferDay5:
        fields.basis = int(CalculationBasis::EmbryoTransferDay5);
        break;
    }
    fields.year = mainWindow.YearText();
    fields.month = mainWindow.MonthText();
    fields.day = mainWindow.DayText();
    fields.cycle = mainWindow.CycleText();
    fields.mother = mainWindow.MotherName();
    return fields;
}

QString CalendarTitle(const QString &motherName)
{
    return ScheduleTitle(QStringLiteral("??さんの妊娠カレンダー"), motherName);
}

namespace {

QString SlashDate(const CalendarDate &date)
{
    return QStringLiteral("%1/%2/%3").arg(date.year).arg(date.month).arg(date.day);
}

QString BirthRefusal(const CalendarDate &dueDate)
{
    const std::optional<DateSpan> range = BirthDateRange(dueDate);
    if (!range)
        return QStringLiteral("この出産日では休業の日付を計算できません。");
    return QStringLiteral("出産日は %1 から %2 までの日付を入力してください（妊娠12週1日～43週6日）。")
        .arg(SlashDate(range->first), SlashDate(range->last));
}

} // namespace

std::optional<CalendarPlan> MakeCalendarPlan(const LastInputFields &fields, const CalendarRequest &request)
{
    const CalculationInput input = PageInput(fields);
    const std::optional<ParsedCalculationInput> parsed = ParseCalculationInput(input);
    if (!parsed)
        return std::nullopt;
    const std::optional<PregnancyDates> dates = ComputePregnancyDates(input.basis, parsed->baseDate, parsed->cycle);
    if (!dates)
        return std::nullopt;
    const std::optional<DueDateMilestones> milestones = MilestonesOf(dates->dueDate, request.multiple);
    const std::optional<GestationalAge> age = GestationalAgeOn(dates->dueDate, request.today);
    CalendarDate base = parsed->baseDate;
    if (!milestones || !age || !AddDays(base, 0))
        return std::nullopt;

    CalendarPlan plan;
    plan.title = CalendarTitle(fields.MotherName());
    plan.basis = input.basis;
    plan.baseDate = base;
    plan.cycle = parsed->cycle;
    plan.dates = *dates;
    plan.milestones = *milestones;
    plan.today = *age;
    plan.todayDate = request.today;
    plan.multiple = request.multiple;
    plan.checkups = CheckupsOf(dates->dueDate, request.checkupWeeks).value_or(std::vector<Checkup>{});
    for (std::size_t i = 0; i < plan.checkups.size(); ++i) {
        if (plan.checkups[i].week == age->Weeks() && age->days >= 0)
            plan.currentCheckup = int(i);
    }
    plan.inuNoHi = FifthMonthInuNoHi(dates->dueDate).value_or(std::vector<CalendarDate>{});
    if (request.birth) {
        plan.birthLeave = BirthLeaveOf(dates->dueDate, *request.birth, request.multiple);
        if (!plan.birthLeave)
            plan.birthRefusal = BirthRefusal(dates->dueDate);
    }
    return plan;
}

bool CheckupIsPast(const CalendarPlan &plan, const Checkup &checkup)
{
    return plan.today.days >= 0 && checkup.week < plan.today.Weeks();
}

std::optional<CalendarDate> ParseCalendarDay(const QString &text)
{
    const QString trimmed = text.trimmed();
    const QChar separator = trimmed.contains(u'/') ? QChar(u'/') : QChar(u'-');
    const QStringList parts = trimmed.split(separator);
    if (parts.size() != 3)
        return std::nullopt;
    std::optional<qint32> numbers[3];
    for (int i = 0; i < 3; ++i) {
        const QString &part = parts.at(i);
        const bool digits = !part.isEmpty() && part.size() <= (i == 0 ? 4 : 2)
                            && std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (!digits)
            return std::nullopt;
        numbers[i] = part.toInt();
    }
    const CalendarDate date{*numbers[0], *numbers[1], *numbers[2]};
    if (date.year < 1 || !IsNormalized(date))
        return std::nullopt;
    return date;
}

QString BasisName(CalculationBasis basis)
{
    switch (basis) {
    case CalculationBasis::LastMenstrualPeriod:
        return QStringLiteral("最終月経開始日");
    case CalculationBasis::BasalTemperatureOvulation:
        return QStringLiteral("基礎体温推定排卵日");
    case CalculationBasis::UltrasoundDueDate:
        return QStringLiteral("超音波測定予定日");
    case CalculationBasis::EmbryoTransferDay3:
        return QStringLiteral("胚移植日（3日目胚）");
    case CalculationBasis::EmbryoTransferDay5:
        return QStringLiteral("胚移植日（5日目胚）");
    }
    return {};
}

QString CalendarDateText(const CalendarDate &date, platform::Messages &messages)
{
    return FormatDateCompact(date, messages);
}

QString CalendarDateWithWareki(const CalendarDate &date, platform::Messages &messages)
{
    return CalendarDateText(date, messages) + QStringLiteral("　") + WarekiDateText(date);
}

QString CalendarSpanText(const CalendarDate &first, const CalendarDate &last, platform::Messages &messages)
{
    const QString end =
        first.year == last.year
            ? QStringLiteral("%1月%2日").arg(last.month).arg(last.day) + WeekdayNameShort(last, messages)
            : QStringLiteral("%1年%2月%3日").arg(last.year).arg(last.month).arg(last.day)
                  + WeekdayNameShort(last, messages);
    return QStringLiteral("%1年%2月%3日").arg(first.year).arg(first.month).arg(first.day)
           + WeekdayNameShort(first, messages) + QStringLiteral("～") + end;
}

QString MonthAndTrimesterText(const GestationalAge &age)
{
    if (age.days < 0 || age.days > LastGestationDay)
        return TodayLineText(age);
    return QStringLiteral("妊娠%1か月・").arg(PregnancyMonth(age)) + TrimesterName(TrimesterOf(age));
}

} // namespace ralvo
