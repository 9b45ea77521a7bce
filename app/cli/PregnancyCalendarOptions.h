#pragma once

// The options that choose the pregnancy's calendar beside the schedule: a
// clinic's own check-up plan (dates, ics), and leaving the check-ups or the
// 戌の日 out of the calendar file (ics).

#include "textout/CalendarExport.h"

#include <QCommandLineParser>
#include <QString>

#include <variant>
#include <vector>

namespace ralvo::cli {

inline const QString CheckupsOption = QStringLiteral("checkups");
inline const QString NoCheckupsOption = QStringLiteral("no-checkups");
inline const QString NoInuOption = QStringLiteral("no-inu");

// Declares --checkups LIST.
void AddCheckupsOption(QCommandLineParser &parser);

// Usage line of --checkups.
QString CheckupsOptionUsage();

// The plan of --checkups, or the standard plan without it; a one-line reason
// when it is repeated or not a plan.
std::variant<std::vector<int>, QString> ReadCheckupWeeks(const QCommandLineParser &parser);

// Declares --checkups, --no-checkups and --no-inu.
void AddCalendarEventOptions(QCommandLineParser &parser);

// Usage lines of these options.
QString CalendarEventOptionsUsage();

// The events chosen by these options, or a one-line reason why they are bad
// (--checkups as above, or together with --no-checkups).
std::variant<PregnancyEventChoice, QString> ReadCalendarEventOptions(const QCommandLineParser &parser);

} // namespace ralvo::cli
