#pragma once

// The main window's batch command: a day's patients from a CSV file as one
// PDF, one schedule page per row, with the window's settings, notices and
// institution block.

#include "print/SchedulePdf.h"

namespace ralvo {

struct AppRecords;

enum class BatchPdfResult {
    Written,
    NotChosen,   // a file dialog was cancelled: nothing shown
    Refused,     // the CSV file could not be read or made no page: told
    Cancelled,   // the progress box was cancelled: no file, told
    WriteFailed, // told; an old file of that name is unchanged
};

// Asks for the CSV file and for the PDF file (through the services' file
// dialogs), draws the pages under the services' progress box into the
// PDF's temporary file page by page (memory stays that of one page), and
// tells the outcome in one message: the pages written and the rows left out
// with their lines and reasons. A PDF that would land on the CSV file or on
// the settings store is refused before anything is drawn.
BatchPdfResult MakeBatchPdf(AppRecords &records, const platform::Services &services);

// "CSVから一括でPDFを作成": the command's caption.
QString BatchPdfCaption();

} // namespace ralvo
