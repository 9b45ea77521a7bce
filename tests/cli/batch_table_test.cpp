#include "app/cli/BatchFile.h"
#include "app/cli/CsvTable.h"
#include "app/cli/PageBatch.h"
#include "settings/ScheduleSettings.h"

#include "platform/EscapedText.h"
#include "platform/ShiftJis.h"

#include <gtest/gtest.h>

using namespace ralvo;
using namespace ralvo::cli;

namespace {

std::vector<CsvRecord> Records(const char16_t *text)
{
    auto parsed = ParseCsv(QString::fromUtf16(text));
    EXPECT_TRUE(std::holds_alternative<std::vector<CsvRecord>>(parsed));
    return std::holds_alternative<std::vector<CsvRecord>>(parsed) ? std::get<std::vector<CsvRecord>>(parsed)
                                                                  : std::vector<CsvRecord>{};
}

} // namespace

TEST(ParseCsv, QuotedCommasLineBreaksAndQuotesWithTheLineEachRecordBeginsOn)
{
    const auto records = Records(u"name,basis\r\n"
                                 u"\"山田, 花子\",0\r\n"
                                 u"\"二行\r\nの\"\"名前\"\"\",ivf3\n"
                                 u"\n"
                                 u"a\"b,\"\"\r"
                                 u"last,2");
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0], (CsvRecord{1, {QStringLiteral("name"), QStringLiteral("basis")}}));
    EXPECT_EQ(records[1], (CsvRecord{2, {QStringLiteral("山田, 花子"), QStringLiteral("0")}}));
    EXPECT_EQ(records[2], (CsvRecord{3, {QStringLiteral("二行\r\nの\"名前\""), QStringLiteral("ivf3")}}));
    // The blank line 5 is no record; a quote inside a field stays as written.
    EXPECT_EQ(records[3], (CsvRecord{6, {QStringLiteral("a\"b"), QString()}}));
    EXPECT_EQ(records[4], (CsvRecord{7, {QStringLiteral("last"), QStringLiteral("2")}}));

    EXPECT_EQ(Records(u",\n").front().fields, (QStringList{QString(), QString()}));
    EXPECT_TRUE(Records(u"").empty());
    const auto open = ParseCsv(QStringLiteral("a\nb,\"never\nclosed"));
    ASSERT_TRUE(std::holds_alternative<CsvError>(open));
    EXPECT_EQ(std::get<CsvError>(open).line, 2);
}

namespace {

// The text, or "line N" when refused.
QString Decoded(const QByteArray &bytes, CsvEncoding encoding = CsvEncoding::Guess)
{
    const auto decoded = DecodeCsvBytes(bytes, encoding);
    if (const CsvDecodeError *error = std::get_if<CsvDecodeError>(&decoded))
        return QStringLiteral("line %1").arg(error->line);
    return std::get<QString>(decoded);
}

QByteArray ShiftJis(const QString &text)
{
    const platform::ShiftJisBytes encoded = platform::EncodeShiftJis(text);
    EXPECT_TRUE(encoded.ok());
    return encoded.bytes;
}

} // namespace

TEST(DecodeCsvBytes, Utf8WithOrWithoutBomAndShiftJisByValidity)
{
    const QString text = QStringLiteral("name\r\n山田花子\r\n");
    EXPECT_EQ(Decoded(text.toUtf8()), text);
    EXPECT_EQ(Decoded("\xEF\xBB\xBF" + text.toUtf8()), text);
    EXPECT_EQ(Decoded(ShiftJis(text)), text);
    // Half-width katakana alone are valid Shift-JIS and not UTF-8.
    EXPECT_EQ(Decoded(QByteArray("\xB6\xC5")), QStringLiteral("ｶﾅ"));
    // A byte-order mark promises UTF-8: Shift-JIS after it is refused.
    EXPECT_EQ(Decoded("\xEF\xBB\xBF" + ShiftJis(text)), QStringLiteral("line 2"));
    EXPECT_EQ(Decoded(QByteArray("\x81\xFF")), QStringLiteral("line 1"));
}

// Half-width katakana pairs such as ﾅｵ (C5 B5) are valid UTF-8 too, read as
// Latin Extended or Cyrillic letters no name list holds.
TEST(DecodeCsvBytes, HalfWidthKatakanaNamesAreShiftJis)
{
    const QString names = QStringLiteral("name,basis\nﾅｵ,0\nﾐｷ,0\nﾕｷ,1\n");
    EXPECT_EQ(Decoded(ShiftJis(names)), names);
    // A UTF-8 file of the same names, and of accented Latin ones, stays UTF-8.
    EXPECT_EQ(Decoded(names.toUtf8()), names);
    const QString accented = QStringLiteral("name\nChloé\n");
    EXPECT_EQ(Decoded(accented.toUtf8()), accented);
}

// One encoding for the whole file: a UTF-8 row among Shift-JIS rows (or the
// reverse) is refused with the first line that differs, never misread.
TEST(DecodeCsvBytes, RowsInDifferentEncodingsAreRefusedUnlessOneIsNamed)
{
    const QByteArray mixed =
        "name,basis\n" + ShiftJis(QStringLiteral("高橋,0\n")) + QStringLiteral("山田,0\n").toUtf8();
    EXPECT_EQ(Decoded(mixed), QStringLiteral("line 3"));
    const QByteArray reversed = QStringLiteral("name\n山田\n").toUtf8() + ShiftJis(QStringLiteral("ﾅｵ\n"));
    EXPECT_EQ(Decoded(reversed), QStringLiteral("line 3"));

    // --encoding reads the whole file as told: ﾅｵ's bytes as UTF-8 are ŵ.
    const QByteArray katakana = ShiftJis(QStringLiteral("ﾅｵ"));
    EXPECT_EQ(Decoded(katakana, CsvEncoding::Utf8), QStringLiteral("ŵ"));
    EXPECT_EQ(Decoded(katakana, CsvEncoding::ShiftJis), QStringLiteral("ﾅｵ"));
    EXPECT_EQ(Decoded(QStringLiteral("a\n山田").toUtf8(), CsvEncoding::ShiftJis),
              QStringLiteral("螻ｱ逕ｰ").prepend(u"a\n"));
    EXPECT_EQ(Decoded(ShiftJis(QStringLiteral("a\n高橋")), CsvEncoding::Utf8), QStringLiteral("line 2"));
}

TEST(ReadBatchRows, ColumnsByNameInAnyOrderAndBadRowsWithTheirLines)
{
    const auto read = ReadBatchRows(QStringLiteral(" Cycle ,memo,DAY,month,year,basis,name\n"
                                                   "28,x,1,1,2024,0,一\n"
                                                   "28,x,18,1,2024,ivf3,二\n"
                                                   "28,x,1,1,2024,ivf4,三\n"
                                                   "28,x,1,1\n"
                                                   "30,,20,1,2024,ivf5,\n"));
    ASSERT_TRUE(std::holds_alternative<BatchRows>(read));
    const BatchRows &batch = std::get<BatchRows>(read);
    ASSERT_EQ(batch.rows.size(), 3u);
    EXPECT_EQ(batch.rows[0].line, 2);
    EXPECT_EQ(batch.rows[0].input, (CalculationInput{CalculationBasis::LastMenstrualPeriod, QStringLiteral("2024"),
                                                     QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("28")}));
    EXPECT_EQ(batch.rows[0].name, QStringLiteral("一"));
    EXPECT_EQ(batch.rows[1].input.basis, CalculationBasis::EmbryoTransferDay3);
    EXPECT_EQ(batch.rows[2].line, 6);
    EXPECT_EQ(batch.rows[2].input.basis, CalculationBasis::EmbryoTransferDay5);
    EXPECT_EQ(batch.rows[2].input.cycle, QStringLiteral("30"));
    ASSERT_EQ(batch.errors.size(), 2u);
    EXPECT_EQ(batch.errors[0].line, 4);
    EXPECT_TRUE(batch.errors[0].reason.contains(QStringLiteral("ivf4")));
    EXPECT_EQ(batch.errors[1].line, 5);

    // Without a name column the pages are unnamed; a missing input column,
    // a repeated one or no header refuse the whole file.
    // A name no page line can show: NUL, CR or LF, each an error of its row.
    const auto broken = ReadBatchRows(QStringLiteral("name,basis,year,month,day,cycle\n"
                                                     "\"二\n行\",0,2024,1,1,28\n"
                                                     "\"改\r\",0,2024,1,1,28\n"
                                                     "ok,0,2024,1,1,28\n")
                                      + QStringLiteral("N") + QChar(u'\0') + QStringLiteral("UL,0,2024,1,1,28\n"));
    ASSERT_TRUE(std::holds_alternative<BatchRows>(broken));
    EXPECT_EQ(std::get<BatchRows>(broken).rows.size(), 1u);
    ASSERT_EQ(std::get<BatchRows>(broken).errors.size(), 3u);
    EXPECT_EQ(std::get<BatchRows>(broken).errors[0].line, 2);
    EXPECT_EQ(std::get<BatchRows>(broken).errors[1].line, 4);
    EXPECT_EQ(std::get<BatchRows>(broken).errors[2].line, 7); // the CR above counts as a line
    EXPECT_EQ(std::get<BatchRows>(broken).dataRows, 4);

    const auto unnamed = ReadBatchRows(QStringLiteral("basis,year,month,day,cycle\n2,2024,10,7,28\n"));
    ASSERT_TRUE(std::holds_alternative<BatchRows>(unnamed));
    EXPECT_EQ(std::get<BatchRows>(unnamed).rows.at(0).name, QString());
    for (const char *refused :
         {"name,basis,year,month,day\n", "basis,year,month,day,cycle,Year\n", "", "basis,\"year\n"}) {
        EXPECT_TRUE(std::holds_alternative<QString>(ReadBatchRows(QString::fromUtf8(refused)))) << refused;
    }
}

TEST(ReadBatchPages, InputRefusalsJoinTheTableErrorsInLineOrder)
{
    const QByteArray csv = "name,basis,year,month,day,cycle\n"
                           "a,0,2024,x,1,28\n"
                           "b,7,2024,1,1,28\n"
                           "c,0,2024,13,1,28\n"
                           "d,ivf5,2024,1,20,28\n";
    const auto read = ReadBatchPages(csv, ScheduleSettings{});
    ASSERT_TRUE(std::holds_alternative<BatchPages>(read));
    const BatchPages &batch = std::get<BatchPages>(read);
    ASSERT_EQ(batch.pages.size(), 1u);
    EXPECT_EQ(batch.pages[0].mother, QStringLiteral("d"));
    EXPECT_EQ(batch.pages[0].basis, int(CalculationBasis::EmbryoTransferDay5));
    ASSERT_EQ(batch.failures.size(), 3u);
    EXPECT_EQ(batch.failures[0].line, 2);
    EXPECT_EQ(batch.failures[1].line, 3);
    EXPECT_EQ(batch.failures[2].line, 4);
    EXPECT_TRUE(std::holds_alternative<BatchRefusal>(ReadBatchPages("\x81\xFF", ScheduleSettings{})));

    // The row cap is checked before any page is made.
    const auto capped = ReadBatchPages(csv, ScheduleSettings{}, {CsvEncoding::Guess, 3});
    ASSERT_TRUE(std::holds_alternative<BatchRefusal>(capped));
    EXPECT_TRUE(std::get<BatchRefusal>(capped).tooManyRows);
}

TEST(EscapeControlCharacters, ControlCharactersOfAQuotedTextAreShownAsCodes)
{
    EXPECT_EQ(platform::EscapeControlCharacters(QStringLiteral("山田\n\x1B[31m\t\u0085x")),
              QStringLiteral("山田\\n\\x1b[31m\\t\\u0085x"));
    EXPECT_EQ(platform::EscapeControlCharacters(QStringLiteral("a b")), QStringLiteral("a b"));
}
