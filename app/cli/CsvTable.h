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

// The encodings a table is read in: guessed, or named with --encoding.
enum class CsvEncoding { Guess, Utf8, ShiftJis };

// Why a file's bytes are no text: the first line (1-based) that is not in
// the encoding, or whose encoding differs from the lines before it.
struct CsvDecodeError
{
    int line = 1;
    QString reason; // one Japanese line, without the file's name

    friend bool operator==(const CsvDecodeError &, const CsvDecodeError &) = default;
};

// The text of a file's bytes, in one encoding for the whole file. After a
// UTF-8 byte-order mark (dropped) the file is UTF-8. Otherwise each line
// that is not plain ASCII reads as UTF-8 when it is valid UTF-8 holding
// only characters a Japanese name list holds, as Shift-JIS (code page 932)
// when it is valid Shift-JIS (half-width katakana such as "ﾅｵ" are valid
// UTF-8 too, but read as Latin Extended or Cyrillic letters), as UTF-8 when
// it is valid UTF-8 only. Every line must read in the same encoding: a file
// whose lines need different ones (a UTF-8 line among Shift-JIS ones) is
// refused with the first line that differs. `encoding` other than Guess
// reads the whole file in that encoding.
std::variant<QString, CsvDecodeError> DecodeCsvBytes(const QByteArray &bytes,
                                                     CsvEncoding encoding = CsvEncoding::Guess);

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
