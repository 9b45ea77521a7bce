#pragma once

// The pregnancy calendar page: one portrait sheet with the title, the
// pregnancy's dates, the check-up plan as a table with an empty column for
// the clinic to write the visit's day in, the 戌の日 of the fifth month, the
// leave around the birth when its date is known, and the institution block
// in the same box, with the same frames, as on the schedule page. Drawn on
// any QPainter surface, like the schedule page; every position is a
// fraction of the sheet.

#include "print/CalendarPlan.h"
#include "print/PageOutput.h"

namespace ralvo {

// Page fractions of the calendar's own parts (W: of the width, H: of the
// height); the title, its underline and the block are the schedule page's.
namespace calendar_page {
inline constexpr double kDatesTop = 0.1040;      // H: first date line
inline constexpr double kLineStep = 0.0215;      // H: one date line
inline constexpr double kTextHeight = 0.0142;    // H: cell of the texts
inline constexpr double kHeadingHeight = 0.0166; // H: cell of the headings
inline constexpr double kLabelWidth = 0.2000;    // W: the labels' column
inline constexpr double kCheckupsTop = 0.2560;   // H: the check-ups' heading
inline constexpr double kTableTop = 0.2800;      // H: the table's header row
inline constexpr double kTableHeight = 0.3150;   // H: header and rows together
inline constexpr double kRowHeight = 0.0210;     // H: a row, at most
inline constexpr double kLowerTop = 0.6100;      // H: the 戌の日 and leave headings
inline constexpr double kRightColumn = 0.5200;   // W: left edge of the leave column
// The table's column edges (W): 回, 週, 期間, 受診日.
inline constexpr double kColumns[5] = {0.0952, 0.1600, 0.2600, 0.6500, 0.9048};
} // namespace calendar_page

// Draws the page of the sources' fields with the request's options. On an
// input failure the default beep has sounded and only the title is drawn.
PageResult DrawCalendarPage(const PageTarget &target, const PageSources &sources, const CalendarRequest &request);

// The drawing as page files take it (RenderPagePdf, RenderPagePng).
PageDrawing CalendarPageDrawing(const CalendarRequest &request);

} // namespace ralvo
