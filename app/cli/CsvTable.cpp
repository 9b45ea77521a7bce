#include "app/cli/CsvTable.h"

#include "platform/ShiftJis.h"

#include <QStringDecoder>

#include <algorithm>

namespace ralvo::cli {

namespace {

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF");

std::optional<QString> Utf8Text(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> ShiftJisText(const QByteArray &bytes)
{
    platform::ShiftJisText decoded = platform::DecodeShiftJis(bytes);
    if (!decoded.ok())
        return std::nullopt;
    return std::move(decoded.text);
}

// Whether a Japanese name list could hold the character: not the C1
// controls, the Latin-1 signs, Latin Extended, IPA, Greek, Cyrillic and the
// other alphabets up to U+07FF, which are what half-width katakana pairs
// read as in UTF-8. Latin-1 letters (é) stay.
bool InNameList(char32_t c) { return c < 0x80 || (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7) || c >= 0x800; }

bool ReadsAsNames(const QString &text)
{
    const QList<uint> codePoints = text.toUcs4();
    return std::all_of(codePoints.begin(), codePoints.end(), [](uint c) { return InNameList(char32_t(c)); });
}

// The encoding one line needs; Guess for plain ASCII (any), none when it is
// in neither.
std::optional<CsvEncoding> LineEncoding(const QByteArray &line)
{
    if (std::all_of(line.begin(), line.end(), [](char c) { return uchar(c) < 0x80; }))
        return CsvEncoding::Guess;
    const std::optional<QString> utf8 = Utf8Text(line);
    if (utf8 && ReadsAsNames(*utf8))
        return CsvEncoding::Utf8;
    if (ShiftJisText(line))
        return CsvEncoding::ShiftJis;
    if (utf8)
        return CsvEncoding::Utf8;
    return std::nullopt;
}

QString EncodingName(CsvEncoding encoding)
{
    return encoding == CsvEncoding::ShiftJis ? QStringLiteral("Shift-JIS") : QStringLiteral("UTF-8");
}

// The first line (1-based) of `bytes` that is not valid in `encoding`.
int FirstInvalidLine(const QByteArray &bytes, CsvEncoding encoding)
{
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool valid =
            encoding == CsvEncoding::ShiftJis ? bool(ShiftJisText(lines.at(i))) : bool(Utf8Text(lines.at(i)));
        if (!valid)
            return int(i) + 1;
    }
    return int(lines.size());
}

std::variant<QString, CsvDecodeError> DecodeAs(const QByteArray &bytes, CsvEncoding encoding)
{
    std::optional<QString> text = encoding == CsvEncoding::ShiftJis ? ShiftJisText(bytes) : Utf8Text(bytes);
    if (!text)
        return CsvDecodeError{FirstInvalidLine(bytes, encoding),
                              QStringLiteral("%1 として読めない文字があります。").arg(EncodingName(encoding))};
    return std::move(*text);
}

} // namespace

std::variant<QString, CsvDecodeError> DecodeCsvBytes(const QByteArray &bytes, CsvEncoding encoding)
{
    if (bytes.startsWith(kUtf8Bom) && encoding != CsvEncoding::ShiftJis)
        return DecodeAs(bytes.sliced(kUtf8Bom.size()), CsvEncoding::Utf8);
    if (encoding != CsvEncoding::Guess)
        return DecodeAs(bytes, encoding);

    // Line feeds are line feeds in both encodings: no Shift-JIS byte pair
    // holds one.
    CsvEncoding file = CsvEncoding::Guess;
    int firstLine = 0; // the first line that decided it
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = int(i) + 1;
        const std::optional<CsvEncoding> line = LineEncoding(lines.at(i));
        if (!line)
            return CsvDecodeError{number, QStringLiteral("UTF-8 としても Shift-JIS としても読めない文字があります。")};
        if (*line == CsvEncoding::Guess)
            continue;
        if (file == CsvEncoding::Guess) {
            file = *line;
            firstLine = number;
        } else if (*line != file) {
            return CsvDecodeError{number, QStringLiteral("文字コードが %1 で、%2 行目の %3 と違います。")
                                              .arg(EncodingName(*line))
                                              .arg(firstLine)
                                              .arg(EncodingName(file))};
        }
    }
    return DecodeAs(bytes, file == CsvEncoding::ShiftJis ? CsvEncoding::ShiftJis : CsvEncoding::Utf8);
}

std::variant<std::vector<CsvRecord>, CsvError> ParseCsv(const QString &text)
{
    std::vector<CsvRecord> records;
    CsvRecord record;
    QString field;
    bool fieldStarted = false; // the record holds at least one character
    bool atFieldStart = true;  // nothing of the current field read yet
    int line = 1;
    int quoteLine = 0; // where the open quoted field began, 0 when none

    const auto endField = [&] {
        record.fields << field;
        field.clear();
        atFieldStart = true;
    };
    const auto endRecord = [&] {
        if (fieldStarted) {
            endField();
            records.push_back(std::move(record));
        }
        record = CsvRecord{};
        fieldStarted = false;
        atFieldStart = true;
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoteLine != 0) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoteLine = 0;
                }
                continue;
            }
            if (c == u'\r' || c == u'\n') {
                ++line;
                if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
                    field += u'\r';
                    ++i;
                    field += u'\n';
                    continue;
                }
            }
            field += c;
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            endRecord();
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            ++line;
            record.line = line;
            continue;
        }
        if (!fieldStarted) {
            fieldStarted = true;
            record.line = line;
        }
        if (c == u',') {
            endField();
            continue;
        }
        if (c == u'"' && atFieldStart)
            quoteLine = line;
        else
            field += c;
        atFieldStart = false;
    }
    if (quoteLine != 0)
        return CsvError{quoteLine, QStringLiteral("引用符 (\") が閉じていません。")};
    endRecord();
    return records;
}

} // namespace ralvo::cli
