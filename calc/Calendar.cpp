#include "calc/Calendar.h"

#include "platform/Platform.h"

#include <array>
#include <limits>
#include <tuple>

namespace ralvo {

namespace {

bool IsValidMonth(qint32 month) { return month >= 1 && month <= 12; }

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar
// (month 1 to 12, day 1 to the month's length). Exact in 64 bits for every
// 32-bit year.
qint64 DayNumber(qint64 year, qint64 month, qint64 day)
{
    year -= month <= 2 ? 1 : 0;
    const qint64 era = (year >= 0 ? year : year - 399) / 400;
    const qint64 yearOfEra = year - era * 400;
    const qint64 dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct Civil
{
    qint64 year;
    qint32 month;
    qint32 day;
};

// The inverse of DayNumber.
Civil FromDayNumber(qint64 number)
{
    number += 719468;
    const qint64 era = (number >= 0 ? number : number - 146096) / 146097;
    const qint64 dayOfEra = number - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 shiftedMonth = (5 * dayOfYear + 2) / 153;
    const auto day = qint32(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const auto month = qint32(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const qint64 year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

// Day number of a date whose day may lie outside its month (valid month only):
// day d of a month is the first of the month plus d - 1.
qint64 LooseDayNumber(const CalendarDate &date) { return DayNumber(date.year, date.month, 1) + (qint64(date.day) - 1); }

// Index 0 is the epoch's own weekday, Friday.
int WeekdayIndex(const CalendarDate &date, platform::Messages &messages)
{
    const qint64 days = DaysBetween(WeekdayEpoch, date, messages);
    return int(((days % 7) + 7) % 7);
}

bool HasWeekdayName(const CalendarDate &date) { return date.year >= FirstYearWithWeekday && IsValidMonth(date.month); }

} // namespace

bool IsLeapYear(qint32 year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(qint32 year, qint32 month)
{
    static constexpr std::array<int, 12> lengths{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (!IsValidMonth(month))
        return 0;
    if (month == 2 && IsLeapYear(year))
        return 29;
    return lengths[std::size_t(month - 1)];
}

int DaysInYear(qint32 year) { return IsLeapYear(year) ? 366 : 365; }

bool IsNormalized(const CalendarDate &date)
{
    return IsValidMonth(date.month) && date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

bool AddDays(CalendarDate &date, qint64 days)
{
    if (!IsValidMonth(date.month))
        return false;
    // Any 32-bit day plus any offset a caller can form from 32-bit inputs
    // stays far inside 64 bits; guard the rest without overflowing.
    constexpr qint64 limit = qint64(1) << 40;
    if (days > limit || days < -limit)
        return false;
    const Civil result = FromDayNumber(LooseDayNumber(date) + days);
    if (result.year < std::numeric_limits<qint32>::min() || result.year > std::numeric_limits<qint32>::max())
        return false;
    date = CalendarDate{qint32(result.year), result.month, result.day};
    return true;
}

std::optional<CalendarDate> MovedBy(CalendarDate date, qint64 days)
{
    if (!AddDays(date, days))
        return std::nullopt;
    return date;
}

qint64 DaysBetween(const CalendarDate &earlier, const CalendarDate &later, platform::Messages &messages)
{
    if (std::tie(earlier.year, earlier.month, earlier.day) >= std::tie(later.year, later.month, later.day)) {
        messages.ShowMessage(DateOrderMessage());
        return 0;
    }
    if (!IsValidMonth(earlier.month) || !IsValidMonth(later.month))
        return 0;
    return LooseDayNumber(later) - LooseDayNumber(earlier);
}

std::optional<qint64> SignedDaysBetween(const CalendarDate &from, const CalendarDate &to)
{
    if (!IsValidMonth(from.month) || !IsValidMonth(to.month))
        return std::nullopt;
    return LooseDayNumber(to) - LooseDayNumber(from);
}

QString WeekdayNameLong(const CalendarDate &date, platform::Messages &messages)
{
    static constexpr std::array<const char16_t *, 7> names{u"（金曜日）", u"（土曜日）", u"（日曜日）", u"（月曜日）",
                                                           u"（火曜日）", u"（水曜日）", u"（木曜日）"};
    if (!HasWeekdayName(date))
        return {};
    return QString::fromUtf16(names[std::size_t(WeekdayIndex(date, messages))]);
}

QString WeekdayNameShort(const CalendarDate &date, platform::Messages &messages)
{
    static constexpr std::array<const char16_t *, 7> names{u"(金)", u"(土)", u"(日)", u"(月)",
                                                           u"(火)", u"(水)", u"(木)"};
    if (!HasWeekdayName(date))
        return {};
    return QString::fromUtf16(names[std::size_t(WeekdayIndex(date, messages))]);
}

QString FormatDateCompact(const CalendarDate &date, platform::Messages &messages)
{
    return QString::number(date.year) + u"年" + QString::number(date.month) + u"月" + QString::number(date.day) + u"日"
           + WeekdayNameLong(date, messages);
}

QString YearText(qint32 year) { return QString::number(year) + u"年"; }

QString MonthText(qint32 month) { return TwoColumnNumber(month) + u"月"; }

QString DayText(qint32 day) { return TwoColumnNumber(day) + u"日"; }

QString TwoColumnNumber(qint32 value)
{
    return value < 10 ? QLatin1Char(' ') + QString::number(value) : QString::number(value);
}

QString DateOrderMessage() { return QStringLiteral("日付の前後関係を確認して下さい。"); }

} // namespace ralvo
