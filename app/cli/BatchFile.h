#pragma once

// A day's patients for the page subcommand: a CSV file with a header row
// naming its columns (name, basis, year, month, day, cycle in any order;
// others ignored) and one patient per record.

#include "calc/DueDate.h"

#include <QString>

#include <variant>
#include <vector>

namespace ralvo::cli {

// Largest batch file read.
inline constexpr qint64 kMaxBatchFileBytes = 16 * 1024 * 1024;
// Most data rows of a batch file unless --max-rows says otherwise.
inline constexpr qint64 kDefaultMaxBatchRows = 20000;

struct BatchRow
{
    int line = 0;           // line of the file the record begins on
    CalculationInput input; // basis and the four texts as written
    QString name;           // the mother's name; empty without a name column
};

// A record that cannot be a page, with its line and a Japanese reason.
struct BatchRowError
{
    int line = 0;
    QString reason;
};

struct BatchRows
{
    std::vector<BatchRow> rows;        // in file order
    std::vector<BatchRowError> errors; // in file order
    qint64 dataRows = 0;               // records after the header, good or bad
};

// The rows of a CSV text: the first record is the header. Column names are
// compared without regard to case and surrounding blanks. The basis is
// written as on the command line (0, 1, 2, ivf3, ivf5). A record with too
// few fields, another basis, or a name holding NUL, CR or LF (which no page
// line can show) is an error of its row; a text that is not
// CSV, has no header, lacks one of basis, year, month, day, cycle, or names
// a column twice is refused as a whole (the reason is returned).
std::variant<BatchRows, QString> ReadBatchRows(const QString &text);

// The bytes of a batch file: opened only when it is a regular file (never
// waiting on a pipe or device), read up to kMaxBatchFileBytes; otherwise a
// Japanese reason.
std::variant<QByteArray, QString> ReadBatchFileBytes(const QString &path);

} // namespace ralvo::cli
