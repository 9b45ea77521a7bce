#include "app/cli/CsvTable.h"

#include "platform/ShiftJis.h"

#include <QStringDecoder>

namespace ralvo::cli {

std::optional<QString> DecodeCsvBytes(const QByteArray &bytes)
{
    static constexpr QByteArrayView kBom("\xEF\xBB\xBF");
    const bool bom = bytes.startsWith(kBom);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes).sliced(bom ? kBom.size() : 0));
    if (!utf8.hasError())
        return text;
    if (bom)
        return std::nullopt;
    platform::ShiftJisText shiftJis = platform::DecodeShiftJis(bytes);
    if (!shiftJis.ok())
        return std::nullopt;
    return std::move(shiftJis.text);
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
