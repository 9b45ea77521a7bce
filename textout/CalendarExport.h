#pragma once

// The schedule as an iCalendar file (RFC 5545) for a phone's or a desktop's
// calendar: one all-day event per pregnancy week 4 to 43, the due date, the
// full-term window, and (unless left out) the check-ups and the 戌の日 of the
// fifth month. The file is written by libical.
//
// Each event's UID is a hash of the mother's name, the due date and the
// event, so exporting the same pregnancy again gives the same UIDs and a
// calendar that imports the file again updates its events instead of
// adding a second set. Changed labels or notices update the texts.

#include "calc/PregnancyCalendar.h"
#include "calc/Schedule.h"
#include "platform/Platform.h"
#include "settings/ScheduleSettings.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace ralvo {

// One all-day event: from `start` up to but not including `end` (DTEND is
// the day after the last day, as RFC 5545 counts all-day events).
struct CalendarEvent
{
    QString uid;
    QString summary;
    QString description; // empty: no DESCRIPTION
    CalendarDate start;
    CalendarDate end;

    friend bool operator==(const CalendarEvent &, const CalendarEvent &) = default;
};

// Years an iCalendar date can hold (four digits, from year 1).
inline constexpr qint32 FirstCalendarYear = 1;
inline constexpr qint32 LastCalendarYear = 9999;

// The events of a schedule that holds weeks 4 to 43: the 40 weeks in
// order (SUMMARY the week label, followed by the month label on the first
// week of a month; DESCRIPTION the week's notice), then the due date under
// the schedule's term, then "正期産" over weeks 37 to 41. None when a day of
// them lies outside the years iCalendar can hold, or the schedule lacks a
// week.
std::optional<std::vector<CalendarEvent>> ScheduleCalendarEvents(const Schedule &schedule, const QString &motherName,
                                                                 const ScheduleSettings &settings,
                                                                 const NoticeTable &notices);

// Which events of the pregnancy's calendar join the schedule's.
struct PregnancyEventChoice
{
    std::vector<int> checkupWeeks = StandardCheckupWeeks(); // a plan, or empty for no check-ups
    bool inuNoHi = true;                                    // the 戌の日 of the fifth month
};

// The chosen events of a pregnancy due on `dueDate`, UIDs made as those of
// the schedule's events: one per check-up over its week ("第1回 妊婦健診
// （妊娠8週）"), then one per 戌の日 of the fifth month ("戌の日（帯祝い）",
// the first described "最初の戌の日"). None when a day lies outside the
// years iCalendar can hold, or the weeks are neither a plan nor empty.
std::optional<std::vector<CalendarEvent>> PregnancyCalendarEvents(const CalendarDate &dueDate,
                                                                  const QString &motherName,
                                                                  const PregnancyEventChoice &choice);

// The calendar file: VCALENDAR named after `calendarName`, the events with
// DTSTAMP `stamp` (taken as UTC), CR LF line ends and long lines folded,
// UTF-8 throughout.
QByteArray EncodeCalendar(const QString &calendarName, const std::vector<CalendarEvent> &events,
                          const QDateTime &stamp);

enum class CalendarFileResult {
    Made,
    InputFailure, // not an integer, or a date the calculation refuses
    OutOfRange,   // a day outside FirstCalendarYear to LastCalendarYear
};

struct CalendarFile
{
    CalendarFileResult result = CalendarFileResult::InputFailure;
    QString title; // the schedule's title, when there is a schedule
    QByteArray bytes;
};

// The whole file for an input, as the command line and the menu write it:
// the schedule's events, then the chosen ones of the pregnancy's calendar.
CalendarFile ScheduleCalendarFile(const CalculationInput &input, const QString &motherName,
                                  const ScheduleSettings &settings, const NoticeTable &notices, const QDateTime &stamp,
                                  const PregnancyEventChoice &choice = {});

// "iCalendarファイル (*.ics)" in the file dialogs' filter form.
QString CalendarFileFilter();

// Told when a date of the schedule cannot stand in an iCalendar file.
QString CalendarOutOfRangeMessage();

// What the main window's calendar export needs.
struct CalendarExportSources
{
    CalculationInput input;
    QString motherName;
    const ScheduleSettings &settings;
    const NoticeTable &notices;
    QDateTime stamp; // DTSTAMP of the events: the moment of the export
};

enum class CalendarExportResult {
    Saved,
    Cancelled,    // the save dialog was cancelled
    InputFailure, // beeped, nothing asked
    OutOfRange,   // told to the user, nothing asked
    WriteFailed,  // told to the user
};

// The menu command: builds the file (a beep, and nothing more, when the
// input is not an integer, as printing does), asks for the file name with
// the title as proposed name and writes it through `write`; a write failure
// says "ファイル %s を作成できません".
CalendarExportResult ExportScheduleCalendar(const CalendarExportSources &sources, const platform::Services &services,
                                            const std::function<bool(const QString &, const QByteArray &)> &write);

} // namespace ralvo
