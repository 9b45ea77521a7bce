#pragma once

// The options of the "page" subcommand, named once for its usage (in every
// program) and for its drawing (only in the drawing program).

#include <QString>

namespace ralvo::cli {

inline const QString PaperOption = QStringLiteral("paper");
inline const QString DpiOption = QStringLiteral("dpi");
inline const QString BatchOption = QStringLiteral("batch");

// The "calendar" subcommand's own options besides those of "page".
inline const QString CalendarBornOption = QStringLiteral("born");
inline const QString CalendarMultipleOption = QStringLiteral("multiple");

} // namespace ralvo::cli
