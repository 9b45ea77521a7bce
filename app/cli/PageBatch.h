#pragma once

// A day's patients as one PDF, one schedule page per row of a CSV file: the
// one way both the command line (page --batch) and the window read the file,
// leave out the rows that cannot be a page, and draw the others.

#include "app/cli/BatchFile.h"
#include "print/PageOutput.h"
#include "settings/LastInputFields.h"

#include <QByteArray>
#include <QString>

#include <variant>
#include <vector>

namespace ralvo {
struct AppRecords;
}

namespace ralvo::cli {

// The fields a page reads for an input and a mother's name.
PlainInputFields PageFieldsOf(const CalculationInput &input, const QString &motherName);

// The rows of a batch file that make pages, and those left out.
struct BatchPages
{
    std::vector<PlainInputFields> pages; // in file order
    std::vector<BatchRowError> failures; // in line order: the table's and the inputs' alike
};

// The pages of a batch file's bytes (UTF-8 or Shift-JIS) under `settings`;
// a Japanese reason when the bytes are no table of patients.
std::variant<BatchPages, QString> ReadBatchPages(const QByteArray &bytes, const ScheduleSettings &settings);

// Draws every page with the records' settings, notices and block. The
// progress step is told after each page and may stop the document (no
// bytes, `cancelled` set).
PageFile RenderBatchPdf(const BatchPages &batch, AppRecords &records, PagePaper paper, int dpi,
                        platform::Messages &messages, platform::Sounds &sounds, const PageProgress &progress = {});

// A text quoted in a message with its control characters shown as \xHH, so
// that no line break or escape sequence of a file's content reaches the user.
QString ShownText(const QString &text);

} // namespace ralvo::cli
