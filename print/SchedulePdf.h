#pragma once

// Saving the schedule page as a PDF file: the page that printing draws, on
// the whole sheet of the paper the settings choose, as vector drawing with
// its fonts embedded. Needs no printer.

#include "platform/Platform.h"
#include "print/PageOutput.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace ralvo {

// Writes bytes to a path; false when the file could not be written (the
// application passes the shared checked writer).
using FileWriter = std::function<bool(const QString &path, const QByteArray &bytes)>;

// The sheet of the saved page for the setting Yoshi: 0 JIS B5; 1 and any
// other value (the printer's own paper) A4.
PagePaper PdfPaperForYoshi(int yoshi);

// Resolution the page is laid out at (the PDF itself is vector drawing).
inline constexpr int kSavedPdfDpi = 600;

// "PDFファイル (*.pdf)" in the file dialogs' filter form.
QString PdfFileFilter();

enum class SavePdfResult {
    Saved,
    Cancelled,    // the save dialog was cancelled
    InputFailure, // base date or cycle not an integer: beeped, nothing asked
    WriteFailed,  // told to the user
};

// The save command of the main window's menu item and of the preview's
// button: checks the inputs as printing does (a beep, and nothing more, when
// they are not integers), asks for the file with the title as proposed name,
// draws the page and writes it.
SavePdfResult SaveSchedulePdf(const PageSources &sources, platform::FileDialogs &dialogs, const FileWriter &write);

// Any page through the same steps: `title` gives the proposed file name
// and none when the inputs make no page; `draw` draws it.
SavePdfResult SavePagePdf(const PageSources &sources, const std::optional<QString> &title,
                          platform::FileDialogs &dialogs, const FileWriter &write, const PageDrawing &draw);

} // namespace ralvo
