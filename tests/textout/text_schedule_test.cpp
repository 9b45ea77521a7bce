#include "textout/TextSchedule.h"

#include "support/CalcPrinters.h"
#include "support/FakePlatform.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace ralvo;

using test::MakeInput;

namespace {

QByteArray Fixture(const char *name)
{
    QFile file(qEnvironmentVariable("RALVO_SOURCE_DIR") + u"/tests/cli/data/" + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

} // namespace

TEST(TextScheduleLines, WorkedExampleSavesToTheExpectedBytes)
{
    test::FakeMessages messages;
    const auto lines = TextScheduleLines(MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "1", "1"),
                                         QStringLiteral("サンプル"), ScheduleSettings(), messages);
    ASSERT_TRUE(lines);
    const platform::ShiftJisBytes file = EncodeTextFile(*lines);
    EXPECT_TRUE(file.ok());
    EXPECT_EQ(file.bytes, Fixture("lmp-2024-01-01.txt"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST(TextScheduleLines, LineCountsPerBasis)
{
    test::FakeMessages messages;
    struct Case
    {
        CalculationInput input;
        int header;
        const char16_t *line8;
    };
    const Case cases[] = {
        {MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "1", "1"), 13, u"最終月経初日：2024年 1月 1日"},
        {MakeInput(CalculationBasis::BasalTemperatureOvulation, "2024", "1", "15"), 12,
         u"基礎体温表による推定排卵日に基づき計算"},
        {MakeInput(CalculationBasis::UltrasoundDueDate, "2024", "10", "7"), 12,
         u"超音波測定による推定出産予定日に基づき計算"},
        {MakeInput(CalculationBasis::EmbryoTransferDay3, "2024", "1", "18"), 12,
         u"胚移植日（3日目胚）：2024年 1月18日"},
        {MakeInput(CalculationBasis::EmbryoTransferDay5, "2024", "1", "20"), 12,
         u"胚移植日（5日目胚）：2024年 1月20日"},
    };
    for (const Case &c : cases) {
        const auto lines = TextScheduleLines(c.input, QString(), ScheduleSettings(), messages);
        ASSERT_TRUE(lines);
        ASSERT_EQ(lines->size(), c.header + 40 + 1);
        EXPECT_EQ(lines->at(7), QString::fromUtf16(c.line8));
        EXPECT_EQ(lines->at(c.header - 3), QStringLiteral("推定排卵日　：2024年 1月15日（月曜日）")) << c.header;
        EXPECT_EQ(lines->at(c.header - 1), QString(86, QLatin1Char('-')));
        EXPECT_TRUE(lines->at(c.header).startsWith(QStringLiteral("【第 2か月】　妊娠 4週")));
        EXPECT_EQ(lines->last(), QString(86, QLatin1Char('-')));
        // Every week line puts its first date at the same column.
        for (qsizetype i = c.header; i < c.header + 40; ++i) {
            const QString line = lines->at(i);
            EXPECT_EQ(platform::ShiftJisWidth(line.left(line.indexOf(u'～'))), 36) << i;
        }
    }
}

TEST(TextScheduleLines, AnotherTermAndTheOrderMessage)
{
    test::FakeMessages messages;
    ScheduleSettings settings;
    settings.Yoteiyogo = 1;
    const auto lines = TextScheduleLines(MakeInput(CalculationBasis::UltrasoundDueDate, "1582", "1", "1"), QString(),
                                         settings, messages);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->at(4), QStringLiteral("分娩予定日　：1582年 1月 1日（金曜日）"));
    EXPECT_EQ(lines->at(9), QStringLiteral("推定排卵日　：1581年 4月10日"));
    EXPECT_TRUE(lines->at(12 + 36).endsWith(QStringLiteral("　┃産　←この週の最初が分娩予定日　")));
    EXPECT_TRUE(lines->at(12 + 36).contains(QStringLiteral(" 1月 1日(金)～")));
    // The due-date line and the first day of week 40 both name 1582-01-01.
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST(TextScheduleLines, InputFailuresGiveNoLines)
{
    test::FakeMessages messages;
    EXPECT_FALSE(TextScheduleLines(MakeInput(CalculationBasis::BasalTemperatureOvulation, "2024", "1", "1", ""),
                                   QString(), ScheduleSettings(), messages));
    EXPECT_FALSE(TextScheduleLines(MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "0", "1"), QString(),
                                   ScheduleSettings(), messages));
    EXPECT_TRUE(messages.shown.empty());
}

TEST(EncodeTextFile, CrLfAfterEveryLineAndUnencodableReported)
{
    EXPECT_EQ(EncodeTextFile({}).bytes, QByteArray());
    EXPECT_EQ(EncodeTextFile({QString(), QStringLiteral("a")}).bytes, QByteArray("\r\na\r\n"));
    const platform::ShiftJisBytes bad = EncodeTextFile({QStringLiteral("😀〜")});
    EXPECT_EQ(bad.unencodable, QStringLiteral("😀"));
    EXPECT_EQ(bad.bytes, QByteArray("\x81\x48\x81\x60\r\n"));
    EXPECT_EQ(EncodeUtf8Lines({QStringLiteral("あ"), QString()}), QByteArray("\xE3\x81\x82\n\n"));
}
