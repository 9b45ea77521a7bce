#pragma once

// The text form of the pregnancy schedule: the lines the text editor shows and
// saves, and the bytes of the saved file.

#include "calc/Schedule.h"
#include "calc/UltrasoundDating.h"
#include "platform/ShiftJis.h"
#include "settings/ScheduleSettings.h"

#include <QStringList>

#include <optional>

namespace ralvo::platform {
class Messages;
}

namespace ralvo {

// Width of the double and single rules, in columns.
inline constexpr int TextRuleWidth = 86;

// The schedule as lines (no line holds a line break): title block, due-date
// line, basis lines, ovulation and implantation lines, the 40 week lines of
// weeks 4 to 43 with the full-term bracket, and the closing rule. Uses `Tit`,
// `Yoteiyogo`, `Tsuki1`, `Tsuki2`, `Shu1` and `Shu2` only. None on an input
// failure of the due-date calculation (the caller beeps). The calendar's
// order message may be shown through `messages` while the lines are built.
// With the `scan` the due date of an input of basis 2 came from, the basis
// line names the scan: "超音波計測日（CRL 45.0mm・11週1日）：2026年 6月10日".
std::optional<QStringList> TextScheduleLines(const CalculationInput &input, const QString &motherName,
                                             const ScheduleSettings &settings, platform::Messages &messages,
                                             const std::optional<UltrasoundScan> &scan = std::nullopt);

// The lines as a saved text file: code page 932, CR LF after every line (the
// last included). Characters that code page 932 lacks are written as "？" and
// listed in the result's `unencodable`, so the caller can warn or refuse.
platform::ShiftJisBytes EncodeTextFile(const QStringList &lines);

// The same lines as UTF-8 with LF after every line, for a terminal.
QByteArray EncodeUtf8Lines(const QStringList &lines);

} // namespace ralvo
