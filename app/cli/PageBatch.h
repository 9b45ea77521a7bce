#pragma once

// A day's patients as one PDF, one schedule page per row of a CSV file: the
// one way both the command line (page --batch) and the window read the file,
// leave out the rows that cannot be a page, and draw the others.

#include "app/cli/BatchFile.h"
#include "app/cli/CsvTable.h"
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

// How a batch file is read: its encoding (guessed for the whole file unless
// given) and the most data rows it may hold.
struct BatchReading
{
    CsvEncoding encoding = CsvEncoding::Guess;
    qint64 maxRows = kDefaultMaxBatchRows;
};

// Why a batch file makes no pages at all: a Japanese reason, with the line
// it concerns (0 for the file as a whole).
struct BatchRefusal
{
    int line = 0;
    QString reason;
    bool tooManyRows = false; // more data rows than BatchReading::maxRows
};

// The pages of a batch file's bytes (UTF-8 or Shift-JIS) under `settings`,
// or why the bytes are no table of patients. The row cap is checked before
// any page is made.
std::variant<BatchPages, BatchRefusal> ReadBatchPages(const QByteArray &bytes, const ScheduleSettings &settings,
                                                      const BatchReading &reading = {});

// Draws every page with the records' settings, notices and block. The
// progress step is told after each page and may stop the document (no
// bytes, `cancelled` set).
PageFile RenderBatchPdf(const BatchPages &batch, AppRecords &records, PagePaper paper, int dpi,
                        platform::Messages &messages, platform::Sounds &sounds, const PageProgress &progress = {});
// The same written into `device` page by page as each is drawn (see
// RenderPagesPdfInto): memory stays that of one page at any row count.
PageFile RenderBatchPdfInto(QIODevice &device, const BatchPages &batch, AppRecords &records, PagePaper paper, int dpi,
                            platform::Messages &messages, platform::Sounds &sounds, const PageProgress &progress = {});

} // namespace ralvo::cli
