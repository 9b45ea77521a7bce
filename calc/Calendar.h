#pragma once

// The calendar module: dates as plain year, month and day in the Gregorian
// calendar (applied to every year, also before its introduction), day
// arithmetic, weekday names from 1582 on, and the Japanese date texts.
//
// Range rules (all operations are total: none loops, overflows or crashes):
//  - Only months 1 to 12 are valid. A date with another month has no month
//    length (DaysInMonth gives 0), cannot be moved (AddDays refuses), and has
//    no weekday name. The due-date calculation refuses such an input.
//  - Years are signed 32-bit. Years before 1 follow the proleptic Gregorian
//    rule with year 0 a leap year (-4 and -400 are leap years, -100 is not).
//  - Day arithmetic runs on 64-bit day numbers, so it finishes at once for any
//    day value and any offset. A result whose year does not fit 32 bits is
//    refused and the date is left unchanged.

#include <QString>
#include <QtGlobal>

#include <optional>

namespace ralvo::platform {
class Messages;
}

namespace ralvo {

// A date as three signed 32-bit integers; not validated when made.
struct CalendarDate
{
    qint32 year = 0;
    qint32 month = 1; // 1 to 12 when valid
    qint32 day = 1;   // 1 to the month's length when normalized

    friend bool operator==(const CalendarDate &, const CalendarDate &) = default;
};

// First day of the weekday count, a Friday.
inline constexpr CalendarDate WeekdayEpoch{1582, 1, 1};
// Years before this one have no weekday name.
inline constexpr qint32 FirstYearWithWeekday = 1582;

// Divisible by 4 and either not by 100 or by 400; year 0 and negative years alike.
bool IsLeapYear(qint32 year);

// 28, 29, 30 or 31 for months 1 to 12; 0 for any other month.
int DaysInMonth(qint32 year, qint32 month);

// 366 for a leap year, 365 otherwise.
int DaysInYear(qint32 year);

// True when the month is 1 to 12 and the day lies within that month.
bool IsNormalized(const CalendarDate &date);

// Moves the date by `days` (negative: backwards) and normalizes it, so a day
// of 0, below 0 or beyond the month's end is carried into the months and
// years (2023-02-30 + 0 is 2023-03-02). Returns false and leaves the date
// unchanged when its month is outside 1 to 12 or the result's year does not
// fit 32 bits.
bool AddDays(CalendarDate &date, qint64 days);

// The date moved as AddDays moves it; none where AddDays refuses.
std::optional<CalendarDate> MovedBy(CalendarDate date, qint64 days);

// Days from `earlier` to `later`. Unless `earlier` is strictly before `later`
// (compared as year, month, day triples; equal dates count as out of order),
// shows "日付の前後関係を確認して下さい。" through `messages` and returns 0.
// Dates with a month outside 1 to 12 give 0 without a message.
qint64 DaysBetween(const CalendarDate &earlier, const CalendarDate &later, platform::Messages &messages);

// Days from `from` to `to`, negative when `to` is earlier, without the order
// message; none when either month is outside 1 to 12. Days outside their
// month count on into the next (2024-02-30 is 2024-03-01).
std::optional<qint64> SignedDaysBetween(const CalendarDate &from, const CalendarDate &to);

// "（金曜日）" … "（木曜日）" for a date from 1582 on, empty before 1582 or for
// a month outside 1 to 12. Naming 1582-01-01 shows the order message once
// (through DaysBetween) and yields "（金曜日）".
QString WeekdayNameLong(const CalendarDate &date, platform::Messages &messages);

// "(金)" … "(木)", with the same rules as WeekdayNameLong.
QString WeekdayNameShort(const CalendarDate &date, platform::Messages &messages);

// 2024年10月7日（月曜日）: unpadded numbers and the long weekday name.
QString FormatDateCompact(const CalendarDate &date, platform::Messages &messages);

// "2024年".
QString YearText(qint32 year);

// " 9月" for a month below 10 (one half-width blank first), "10月" otherwise.
QString MonthText(qint32 month);

// " 3日" for a day below 10 (one half-width blank first), "23日" otherwise.
QString DayText(qint32 day);

// The number in at least two columns: a half-width blank before a value
// below 10 (" 9", "10"). Shared by the date pieces and the schedule labels.
QString TwoColumnNumber(qint32 value);

// The text of the order message.
QString DateOrderMessage();

} // namespace ralvo
