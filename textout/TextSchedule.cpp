#include "textout/TextSchedule.h"

namespace ralvo {

namespace {

const QString FullWidthBlank = QStringLiteral("　");

QString DateWithoutWeekday(const CalendarDate &date)
{
    return YearText(date.year) + MonthText(date.month) + DayText(date.day);
}

QString DateWithWeekday(const CalendarDate &date, platform::Messages &messages)
{
    return DateWithoutWeekday(date) + WeekdayNameLong(date, messages);
}

// The full-term bracket at the end of a week line; empty outside weeks 37–41.
QString BracketText(int week, const QString &dueDateTermWithBlank)
{
    switch (week) {
    case 37:
        return QStringLiteral("　┓（３７～４１週）");
    case 38:
        return QStringLiteral("　┃正");
    case 39:
        return QStringLiteral("　┃期");
    case 40:
        return QStringLiteral("　┃産　←この週の最初が") + dueDateTermWithBlank;
    case 41:
        return QStringLiteral("　┛");
    default:
        return {};
    }
}

} // namespace

std::optional<QStringList> TextScheduleLines(const CalculationInput &input, const QString &motherName,
                                             const ScheduleSettings &settings, platform::Messages &messages,
                                             const std::optional<UltrasoundScan> &scan)
{
    const std::optional<Schedule> schedule = BuildSchedule(input, motherName, settings, FirstScheduleWeek);
    if (!schedule)
        return std::nullopt;

    const QString doubleRule(TextRuleWidth, QLatin1Char('='));
    const QString singleRule(TextRuleWidth, QLatin1Char('-'));
    const QString term = schedule->dueDateTerm + FullWidthBlank;

    QStringList lines;
    lines << doubleRule << QStringLiteral("　　　　") + schedule->title << doubleRule << QString();

    lines << term + u"：" + DateWithWeekday(schedule->dates.dueDate, messages);
    lines << singleRule << QString();

    switch (schedule->basis) {
    case CalculationBasis::LastMenstrualPeriod:
        lines << QStringLiteral("最終月経初日：") + DateWithoutWeekday(schedule->input.baseDate);
        lines << QStringLiteral("月経周期　　：") + QString::number(schedule->input.cycle) + u"日周期";
        break;
    case CalculationBasis::BasalTemperatureOvulation:
        lines << QStringLiteral("基礎体温表による推定排卵日に基づき計算");
        break;
    case CalculationBasis::UltrasoundDueDate:
        if (scan)
            lines << QStringLiteral("超音波計測日（") + ScanSummary(*scan) + u"）：" + DateWithoutWeekday(scan->date);
        else
            lines << QStringLiteral("超音波測定による推定出産予定日に基づき計算");
        break;
    case CalculationBasis::EmbryoTransferDay3:
        lines << QStringLiteral("胚移植日（3日目胚）：") + DateWithoutWeekday(schedule->input.baseDate);
        break;
    case CalculationBasis::EmbryoTransferDay5:
        lines << QStringLiteral("胚移植日（5日目胚）：") + DateWithoutWeekday(schedule->input.baseDate);
        break;
    }
    lines << singleRule;

    lines << QStringLiteral("推定排卵日　：") + DateWithWeekday(schedule->dates.ovulationDate, messages);
    lines << QStringLiteral("推定着床日　：") + DateWithWeekday(schedule->dates.implantationDate, messages);
    lines << singleRule;

    for (const ScheduleRow &row : schedule->rows) {
        lines << MonthLabel(row, settings) + FullWidthBlank + WeekLabel(row, settings) + FullWidthBlank
                     + RowDateText(row.startDate, messages) + u"～" + RowDateText(row.endDate, messages)
                     + FullWidthBlank + BracketText(row.week, term);
    }
    lines << singleRule;
    return lines;
}

platform::ShiftJisBytes EncodeTextFile(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + u"\r\n";
    return platform::EncodeShiftJis(text);
}

QByteArray EncodeUtf8Lines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + '\n';
    return bytes;
}

} // namespace ralvo
