#pragma once

// Printing the schedule page on one sheet: the default printer, the paper
// from the settings, portrait, the print dialog, the check of the printer's
// unprintable margins, then one document with the page drawn on the whole
// sheet. The printer is reached through SchedulePrinter, so the command can
// be run against a real printer (print/ui/QtSchedulePrinter.h) or a test's.

#include "platform/Platform.h"
#include "print/SchedulePage.h"

#include <QPageSize>

#include <optional>

class QPainter;

namespace ralvo {

struct AppRecords;

// The sheet as the printer reports it after its dialog, in device units.
struct PrinterSheet
{
    int paperWidth = 0; // the whole sheet
    int paperHeight = 0;
    int offsetX = 0; // sheet edge to the printable area
    int offsetY = 0;
    int pageWidth = 0; // the printable area
    int pageHeight = 0;
};

// The paper set before the dialog for the setting Yoshi: 0 B5 (JIS), 1 A4;
// any other value leaves the printer's paper as it is.
std::optional<QPageSize::PageSizeId> PaperForYoshi(int yoshi);

// Whether one of the four unprintable margins is wider than the page's own
// blank margin: left or right above 0.0952 of the width, top or bottom above
// 0.0673 of the height (strictly, in floating point).
bool MarginsExceedPage(const PrinterSheet &sheet);

// The printer service as the print command uses it.
class SchedulePrinter
{
public:
    virtual ~SchedulePrinter() = default;
    // Selects the system's default printer; false when none is installed.
    virtual bool SelectDefaultPrinter() = 0;
    virtual void SetPaperSize(QPageSize::PageSizeId paper) = 0;
    virtual void SetPortrait() = 0;
    // The print dialog; false when the user cancels it.
    virtual bool ShowPrintDialog() = 0;
    virtual PrinterSheet Sheet() const = 0;
    // Begins a document and gives its page's surface; null when the printer
    // refuses, and then no document is open.
    virtual QPainter *BeginDocument() = 0;
    // Ends the document and hands it to the printer; false when that failed.
    virtual bool EndDocument() = 0;
    // Throws the begun document away.
    virtual void AbortDocument() = 0;
};

enum class PrintResult {
    Printed,
    NoPrinter,    // told to the user
    Cancelled,    // print dialog cancelled: nothing shown
    Declined,     // No to the margins question
    InputFailure, // base date or cycle not an integer: beeped, nothing printed
    Refused,      // the printer did not take the job: told to the user
};

// The question asked when the margins are too wide ("警告", Yes default).
platform::Messages::Question MarginsQuestion();
QString NoPrinterMessage();
QString PrintRefusedMessage();

// The print command of the main window's print button and menu item and of
// the preview's print button. Nothing is shown when printing succeeds.
PrintResult PrintSchedule(SchedulePrinter &printer, const PageSources &sources);
// Any page through the same steps: `readable` tells whether the sources'
// inputs make a page (checked before a document is begun), `draw` draws it.
PrintResult PrintPage(SchedulePrinter &printer, const PageSources &sources, bool readable, const PageDrawing &draw);
// The same with the application's records, the main window's fields and the
// platform's message boxes and sounds.
PrintResult PrintSchedule(SchedulePrinter &printer, AppRecords &records, const LastInputFields &fields,
                          const platform::Services &services);

} // namespace ralvo
