#pragma once

// What the pregnancy calendar shows, in its window and on its page: the
// dates of one pregnancy computed once from the main window's input, the
// basis it is read with, twins or more, and today's date.

#include "calc/DueDate.h"
#include "calc/Gestation.h"
#include "calc/PregnancyCalendar.h"
#include "settings/LastInputFields.h"

#include <QString>

#include <optional>
#include <vector>

namespace ralvo {

namespace platform {
class Messages;
}

// How the base date of the main window is read.
enum class CalendarBasisChoice {
    AsMainWindow,       // the main window's own basis
    EmbryoTransferDay3, // the transfer day of a day-3 embryo
    EmbryoTransferDay5, // the transfer day of a day-5 embryo
};

// The fields the calendar reads: the main window's, with the basis the
// choice gives (the main window itself is not changed).
PlainInputFields CalendarFields(const LastInputFields &mainWindow, CalendarBasisChoice choice);

// "??さんの妊娠カレンダー" with the name as the schedule's title takes it.
QString CalendarTitle(const QString &motherName);

struct CalendarRequest
{
    bool multiple = false;                                  // twins or more: the earlier leave start
    CalendarDate today;                                     // the day the window and the page are made
    std::vector<int> checkupWeeks = StandardCheckupWeeks(); // the clinic's plan
    std::optional<CalendarDate> birth;                      // the actual birth date, when known
};

// A day written 2026-01-20, 2026/01/20 or 2026/1/20 (blanks around it
// ignored); none unless it is a real day.
std::optional<CalendarDate> ParseCalendarDay(const QString &text);

struct CalendarPlan
{
    QString title;
    CalculationBasis basis = CalculationBasis::LastMenstrualPeriod;
    CalendarDate baseDate; // normalized
    qint32 cycle = 28;
    PregnancyDates dates;
    DueDateMilestones milestones;
    GestationalAge today; // age on the request's day
    CalendarDate todayDate;
    bool multiple = false;
    std::vector<Checkup> checkups;
    int currentCheckup = -1;              // the visit whose week holds today, or -1
    std::vector<CalendarDate> inuNoHi;    // of the fifth month; the first is the one kept
    std::optional<BirthLeave> birthLeave; // when a birth date was given and taken
    QString birthRefusal;                 // one line, when a birth date was given and refused
};

// The plan of the fields; none when a field holds no integer or a date
// cannot be counted (the caller beeps, as every command does).
std::optional<CalendarPlan> MakeCalendarPlan(const LastInputFields &fields, const CalendarRequest &request);

// The basis in words: "最終月経開始日", "胚移植日（3日目胚）", ….
QString BasisName(CalculationBasis basis);

// "2024年10月7日（月曜日）": a date as the calendar writes it.
QString CalendarDateText(const CalendarDate &date, platform::Messages &messages);
// "2024年10月7日（月曜日）　令和6年10月7日".
QString CalendarDateWithWareki(const CalendarDate &date, platform::Messages &messages);
// "2024年9月16日（月）～10月7日（月）": a span, the year written once when
// both ends share it.
QString CalendarSpanText(const CalendarDate &first, const CalendarDate &last, platform::Messages &messages);
// Whether a visit lies before today's week (it is shown dimmed).
bool CheckupIsPast(const CalendarPlan &plan, const Checkup &checkup);

// "妊娠8か月・後期" for the age: the pregnancy month and trimester, or the
// today line's "本日は妊娠期間外です" outside the pregnancy.
QString MonthAndTrimesterText(const GestationalAge &age);

} // namespace ralvo
