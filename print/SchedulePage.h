#pragma once

// The schedule page: title, due-date line, the ruled table of weeks with
// their notices, and the institution block below it, drawn on any QPainter
// surface (printer page, PDF, image, preview widget). Every position and
// size is a fraction of the sheet (print/PageGeometry.h).

#include "calc/Schedule.h"
#include "kikanmei/KikanmeiBlock.h"
#include "settings/LastInputFields.h"
#include "settings/ScheduleSettings.h"

#include <functional>

class QPainter;

namespace ralvo {

namespace platform {
class Messages;
class Sounds;
} // namespace platform

// The surface and sheet a page is drawn on. A printer passes its page with
// the physical sheet size and the printable area's offsets (every point is
// moved by −offset, so the page stays anchored to the paper's edge) and
// PrinterThinLineWidth(paperWidth); the preview passes its paint box with
// offsets 0, thin lines of 1 and the outline on.
struct PageTarget
{
    QPainter *surface = nullptr;
    int paperWidth = 0; // device units of the whole sheet
    int paperHeight = 0;
    int offsetX = 0; // physical offset of the printable area
    int offsetY = 0;
    int thinLineWidth = 1;     // pen of the month and column rules
    bool paperOutline = false; // dotted blue outline of the sheet (preview)
};

// What a drawing reads, afresh at every call, and where it reports. The
// drawing turns a picture frame whose file cannot be read into "Non" in
// `block`, which is why the block is not const. Messages of the institution
// block go to `messages`: the caller decides how often they may show (the
// preview can pass a filter that lets each through once per showing).
struct PageSources
{
    const ScheduleSettings &settings;
    const NoticeTable &notices;
    KikanmeiBlock &block;
    const LastInputFields &fields; // MomName, Edit2–Edit4, Cycle, basis
    platform::Messages &messages;
    platform::Sounds &sounds;
};

enum class PageResult {
    Drawn,
    InputFailure, // base date or cycle not an integer: beeped, drawn up to the title
};

// The calculation input of the fields as a page reads them: any basis by
// its number (the embryo-transfer ones included), the four texts.
CalculationInput PageInput(const LastInputFields &fields);

// The schedule of the page from the main window's inputs as they are now,
// from the first week of the table; none when the base date or the cycle is
// not an integer (the drawing's input failure). Printing checks it before
// it begins a document, because a begun print job cannot be taken back.
std::optional<Schedule> PageSchedule(const ScheduleSettings &settings, const LastInputFields &fields);

// Draws the whole page. On an input failure the default beep has sounded and
// the outline, table frame, month rules and title stay drawn. The painter is
// left with whatever pen, brush and font the last step set.
PageResult DrawSchedulePage(const PageTarget &target, const PageSources &sources);

// A page's drawing, for the steps every page shares (files, printing): the
// schedule page's or another's.
using PageDrawing = std::function<PageResult(const PageTarget &, const PageSources &)>;

} // namespace ralvo
