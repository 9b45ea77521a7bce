#pragma once

// Comma-separated tables as spreadsheet programs save them: the bytes'
// encoding told by their validity, and the records and fields of RFC 4180.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>
#include <vector>

namespace ralvo::cli {

// The text of a file's bytes: UTF-8 after a byte-order mark (which is
// dropped), otherwise UTF-8 when the bytes are valid UTF-8 (plain ASCII
// included), otherwise Shift-JIS (code page 932) when they are valid
// Shift-JIS. None when they are neither. Japanese Shift-JIS text is
// practically never valid UTF-8, so the order decides nothing by chance.
std::optional<QString> DecodeCsvBytes(const QByteArray &bytes);

struct CsvRecord
{
    int line = 1;       // line of the file on which the record begins (1-based)
    QStringList fields; // as written, quotes removed

    friend bool operator==(const CsvRecord &, const CsvRecord &) = default;
};

// Why a text is not a table.
struct CsvError
{
    int line = 1;
    QString reason; // one Japanese line

    friend bool operator==(const CsvError &, const CsvError &) = default;
};

// The records of a text. Records end at CR LF, LF or CR; fields are separated
// by commas; a field that begins with a double quote runs to the next lone
// double quote and may hold commas, line breaks and doubled quotes ("").
// Characters after a closing quote and quotes inside an unquoted field are
// kept as they are. Records without any character (blank lines) are left
// out. A quoted field still open at the end of the text is an error.
std::variant<std::vector<CsvRecord>, CsvError> ParseCsv(const QString &text);

} // namespace ralvo::cli
