#pragma once

// Values the settings dialog and the notice editor show or take over, kept
// out of the windows so they can be checked on their own.

#include "settings/ScheduleSettings.h"

#include <QString>

namespace ralvo {

// The width of a notice in full-width characters: its Shift-JIS byte width
// × 0.5, truncated (7 bytes count 3).
int FullWidthCount(const QString &text);

// How many full-width characters of a notice fit on the printed page under
// the stored notation: (79.68 − S) × 0.5 truncated toward zero, where S is
// the byte width of Tsuki1, Tsuki2, Shu1 and Shu2, plus 22, plus 12 when the
// week's last day is printed. Negative when the notation is very long.
int PrintableNoticeWidth(const ScheduleSettings &settings, bool weekEndPrinted);

// The fixed caption of a week row in the notice editor: "妊娠４週" with a
// full-width digit below 10, "妊娠10週" with half-width digits from 10.
QString NoticeWeekCaption(int week);

// A selection index for a list of `count` entries: `index` itself when it
// names an entry, `fallback` otherwise (nothing selected, a bad stored value).
int IndexOr(int index, int count, int fallback);

} // namespace ralvo
