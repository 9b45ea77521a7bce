#pragma once

// GoogleTest printers for the calendar values, so failures read as dates.

#include "calc/Calendar.h"

#include <QString>

#include <ostream>

namespace ralvo {

inline void PrintTo(const CalendarDate &date, std::ostream *os)
{
    *os << date.year << '-' << date.month << '-' << date.day;
}

} // namespace ralvo

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
