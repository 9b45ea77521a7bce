#include "app/cli/BatchFile.h"
#include "app/cli/CsvTable.h"
#include "app/cli/PageBatch.h"
#include "settings/ScheduleSettings.h"

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

TEST(DecodeCsvBytes, Utf8WithOrWithoutBomAndShiftJisByValidity)
{
    const QString text = QStringLiteral("name\r\n山田花子\r\n");
    EXPECT_EQ(DecodeCsvBytes(text.toUtf8()), text);
    EXPECT_EQ(DecodeCsvBytes("\xEF\xBB\xBF" + text.toUtf8()), text);
    const platform::ShiftJisBytes shiftJis = platform::EncodeShiftJis(text);
    ASSERT_TRUE(shiftJis.ok());
    EXPECT_EQ(DecodeCsvBytes(shiftJis.bytes), text);
    // Half-width katakana alone are valid Shift-JIS and not UTF-8.
    EXPECT_EQ(DecodeCsvBytes(QByteArray("\xB6\xC5")), QStringLiteral("ｶﾅ"));
    // A byte-order mark promises UTF-8: Shift-JIS after it is refused.
    EXPECT_FALSE(DecodeCsvBytes("\xEF\xBB\xBF" + shiftJis.bytes));
    EXPECT_FALSE(DecodeCsvBytes(QByteArray("\x81\xFF")));
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
    EXPECT_TRUE(std::holds_alternative<QString>(ReadBatchPages("\x81\xFF", ScheduleSettings{})));
}

TEST(ShownText, ControlCharactersOfAQuotedTextAreShownAsCodes)
{
    EXPECT_EQ(ShownText(QStringLiteral("山田\n\x1B[31m\t\u0085x")), QStringLiteral("山田\\x0A\\x1B[31m\\x09\\x85x"));
    EXPECT_EQ(ShownText(QStringLiteral("a b")), QStringLiteral("a b"));
}
