#include "calc/Wareki.h"

#include <array>
#include <tuple>

namespace ralvo {

namespace {

struct Era
{
    const char16_t *name;
    CalendarDate firstDay;
};

// Latest first.
constexpr std::array<Era, 5> Eras{{
    {u"令和", {2019, 5, 1}},
    {u"平成", {1989, 1, 8}},
    {u"昭和", {1926, 12, 25}},
    {u"大正", {1912, 7, 30}},
    {u"明治", {1868, 1, 25}},
}};

// The era calendar is used from this day on; earlier dates stay Western.
constexpr CalendarDate FirstWarekiDay{1873, 1, 1};

bool OnOrAfter(const CalendarDate &date, const CalendarDate &first)
{
    return std::tie(date.year, date.month, date.day) >= std::tie(first.year, first.month, first.day);
}

} // namespace

std::optional<WarekiYear> WarekiYearOf(const CalendarDate &date)
{
    if (!OnOrAfter(date, FirstWarekiDay))
        return std::nullopt;
    for (const Era &era : Eras) {
        if (OnOrAfter(date, era.firstDay))
            return WarekiYear{QString::fromUtf16(era.name), date.year - era.firstDay.year + 1};
    }
    return std::nullopt;
}

QString WarekiDateText(const CalendarDate &date)
{
    const QString monthDay = QString::number(date.month) + u"月" + QString::number(date.day) + u"日";
    const std::optional<WarekiYear> wareki = WarekiYearOf(date);
    if (!wareki)
        return QString::number(date.year) + u"年" + monthDay;
    const QString year = wareki->year == 1 ? QStringLiteral("元") : QString::number(wareki->year);
    return wareki->era + year + u"年" + monthDay;
}

} // namespace ralvo
