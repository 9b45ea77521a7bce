#pragma once

// Dates in the Japanese era calendar: 令和, 平成, 昭和, 大正 and 明治, each
// from the Gregorian day its era began (明治 counted from 1873-01-01, the day
// Japan took up the Gregorian calendar).

#include "calc/Calendar.h"

#include <QString>

#include <optional>

namespace ralvo {

struct WarekiYear
{
    QString era;     // "令和", …, "明治"
    qint32 year = 1; // 1 is the first year (元年)

    friend bool operator==(const WarekiYear &, const WarekiYear &) = default;
};

// The era and the year within it of a normalized date; none before 1873.
std::optional<WarekiYear> WarekiYearOf(const CalendarDate &date);

// "令和6年10月7日", "令和元年5月1日"; a date before 1873 in the Western form
// ("1872年12月31日"). Unpadded numbers, no weekday.
QString WarekiDateText(const CalendarDate &date);

} // namespace ralvo
