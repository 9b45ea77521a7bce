#pragma once

// GoogleTest printers for the calendar values, so failures read as dates,
// and a short way to write a calculation input.

#include "calc/Calendar.h"
#include "calc/DueDate.h"

#include <QString>

#include <ostream>

namespace ralvo {

inline void PrintTo(const CalendarDate &date, std::ostream *os)
{
    *os << date.year << '-' << date.month << '-' << date.day;
}

namespace test {

// The input as the main window's fields would hold it.
inline CalculationInput MakeInput(CalculationBasis basis, const char *year, const char *month, const char *day,
                                  const char *cycle = "28")
{
    return CalculationInput{basis, QString::fromUtf8(year), QString::fromUtf8(month), QString::fromUtf8(day),
                            QString::fromUtf8(cycle)};
}

} // namespace test

} // namespace ralvo

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE
