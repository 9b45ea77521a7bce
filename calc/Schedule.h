#pragma once

// The pregnancy schedule shared by the text output and the printed page: the
// title, the due-date term, the dates, and one row per pregnancy week up to
// week 43, with the texts of its month, week and date columns.

#include "calc/DueDate.h"

#include <QString>

#include <optional>
#include <vector>

namespace ralvo::platform {
class Messages;
}

namespace ralvo {

// One pregnancy week.
struct ScheduleRow
{
    int week = 4;                   // 4 to 43, completed weeks
    CalendarDate startDate;         // first day of the week
    CalendarDate endDate;           // last day, startDate + 6
    std::optional<int> monthNumber; // week / 4 + 1 on weeks 4, 8, …, 36; none otherwise
    bool inTermWindow = false;      // weeks 37 to 41 (正期産)
    bool isDueWeek = false;         // week 40, which begins on the due date

    friend bool operator==(const ScheduleRow &, const ScheduleRow &) = default;
};

// The whole schedule.
struct Schedule
{
    QString title;       // `Tit` with the first "??" replaced by the name
    QString dueDateTerm; // "出産予定日" or "分娩予定日"
    CalculationBasis basis = CalculationBasis::LastMenstrualPeriod;
    ParsedCalculationInput input; // base date exactly as parsed, and the cycle
    PregnancyDates dates;
    std::vector<ScheduleRow> rows; // first week to week 43, in order

    friend bool operator==(const Schedule &, const Schedule &) = default;
};

// The few settings the schedule's texts are made of (the user's titles and
// labels; settings/ScheduleSettings.h takes them from the settings record).
struct ScheduleNotation
{
    QString titleTemplate;   // the title, "??" standing for the name
    int dueDateTermKind = 0; // 0 "出産予定日", otherwise "分娩予定日"
    QString monthPrefix;     // before the month number, "【第"
    QString monthSuffix;     // after it, "か月】"
    QString weekPrefix;      // before the week number, "妊娠"
    QString weekSuffix;      // after it, "週"
};

inline constexpr int FirstScheduleWeek = 4;
inline constexpr int LastScheduleWeek = 43;
inline constexpr int DueWeek = 40;

// First week of the printed table for the setting `Hani` (0 → 4, 1 → 8,
// 2 → 12); any other value gives week 4.
int FirstWeekForHani(int hani);

// The title: the first "??" of the template replaced by the name (an empty
// name removes it); later "??" stay; a template without "??" is unchanged.
QString ScheduleTitle(const QString &titleTemplate, const QString &motherName);

// The title as the proposed name of a saved file, without its suffix: the
// characters that cannot stand in a file name on the desktops the files go
// to (/ \ : * ? " < > | and control characters) become "_", blanks at the
// ends are dropped; an empty result is "スケジュール".
QString ScheduleFileBaseName(const QString &title);

// "出産予定日" for `Yoteiyogo` 0, "分娩予定日" for any other value.
QString DueDateTerm(int yoteiyogo);

// The schedule from `firstWeek` (clamped to 4…43) to week 43, anchored at the
// ovulation day. None on the input failures of the due-date calculation; the
// caller beeps.
std::optional<Schedule> BuildSchedule(const CalculationInput &input, const QString &motherName,
                                      const ScheduleNotation &notation, int firstWeek = FirstScheduleWeek);

// The month column: the prefix, the month number in two columns, the suffix
// on the first week of a month; otherwise as many half-width blanks as that
// label is wide (the Shift-JIS width of prefix + suffix, plus 2).
QString MonthLabel(const ScheduleRow &row, const ScheduleNotation &notation);

// The week column: the prefix, the week number in two columns, the suffix.
QString WeekLabel(const ScheduleRow &row, const ScheduleNotation &notation);

// " 1月29日(月)": MonthText + DayText + WeekdayNameShort (which may show the
// order message for 1582-01-01).
QString RowDateText(const CalendarDate &date, platform::Messages &messages);

} // namespace ralvo
