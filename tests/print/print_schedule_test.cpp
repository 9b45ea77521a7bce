#include "print/SchedulePrinting.h"

#include "records/AppRecords.h"
#include "settings/LastInputFields.h"
#include "support/FakePlatform.h"
#include "support/FakeSchedulePrinter.h"

#include <gtest/gtest.h>

using namespace ralvo;

namespace {

struct PrintFixture : testing::Test
{
    test::FakePlatform platform;
    AppRecords records;
    PlainInputFields fields;
    test::FakeSchedulePrinter printer;

    PrintFixture()
    {
        fields.year = QStringLiteral("2024");
        fields.month = QStringLiteral("1");
        fields.day = QStringLiteral("1");
        fields.cycle = QStringLiteral("28");
        fields.mother = QStringLiteral("サンプル");
        records.settings.Kikanmeicheck = false;
    }

    PrintResult Print()
    {
        const PageSources sources{records.settings, records.notices,   records.block,
                                  fields,           platform.messages, platform.sounds};
        return PrintSchedule(printer, sources);
    }

    bool Drew(const QString &text) const
    {
        if (!printer.page)
            return false;
        for (const test::PaintCall &c : printer.page->Of(test::PaintCall::Kind::Text)) {
            if (c.text.contains(text))
                return true;
        }
        return false;
    }
};

} // namespace

TEST_F(PrintFixture, PrintsThePageOnTheWholeSheetWithOffsetsSubtracted)
{
    records.settings.Yoshi = 1;
    EXPECT_EQ(Print(), PrintResult::Printed);
    EXPECT_EQ(printer.calls.join(u' '), QStringLiteral("select paper portrait dialog begin end"));
    EXPECT_EQ(printer.openDocuments, 0);
    EXPECT_TRUE(platform.messages.asked.empty());
    EXPECT_TRUE(platform.messages.shown.empty());
    EXPECT_EQ(platform.sounds.beeps, 0);
    EXPECT_TRUE(Drew(QStringLiteral("サンプルさんの出産までのスケジュール")));
    EXPECT_TRUE(Drew(QStringLiteral("2024年10月 7日（月曜日）")));

    // The frame's left edge is at round(0.0952 × 4960) = 472 on the sheet,
    // 372 on a surface whose origin is the printable area's corner; the
    // month rules use the printer's thin pen round(0.0005 × 4960) + 1 = 3.
    bool frameFound = false;
    for (const test::PaintCall &c : printer.page->Of(test::PaintCall::Kind::Rect))
        frameFound = frameFound || qRound(c.rect.left()) == 472 - 100;
    EXPECT_TRUE(frameFound);
    bool thinRule = false;
    for (const test::PaintCall &c : printer.page->Of(test::PaintCall::Kind::Line))
        thinRule = thinRule || (c.pen.width() == 3 && c.line.dy() == 0);
    EXPECT_TRUE(thinRule);
}

TEST_F(PrintFixture, PaperFollowsYoshi)
{
    const struct
    {
        int yoshi;
        std::optional<QPageSize::PageSizeId> paper;
    } cases[] = {{0, QPageSize::JisB5}, {1, QPageSize::A4}, {2, std::nullopt}, {7, std::nullopt}, {-1, std::nullopt}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.yoshi);
        EXPECT_EQ(PaperForYoshi(c.yoshi), c.paper);
        printer = test::FakeSchedulePrinter{};
        records.settings.Yoshi = c.yoshi;
        EXPECT_EQ(Print(), PrintResult::Printed);
        EXPECT_EQ(printer.paper, c.paper);
        EXPECT_EQ(printer.calls.contains(QStringLiteral("paper")), c.paper.has_value());
    }
    // JIS B5, not ISO B5.
    EXPECT_EQ(QPageSize(QPageSize::JisB5).size(QPageSize::Millimeter).toSize(), QSize(182, 257));
}

TEST(PrintMargins, ThresholdsAreTheBlankMarginsOfThePageStrictly)
{
    const struct
    {
        const char *name;
        PrinterSheet sheet;
        bool asks;
    } cases[] = {
        {"A4 with 100-unit margins", {4960, 7016, 100, 100, 4760, 6816}, false},
        {"A4 with a 600-unit left offset", {4960, 7016, 600, 100, 4260, 6816}, true},
        {"left exactly 0.0952", {10000, 10000, 952, 0, 9048, 10000}, false},
        {"left 953", {10000, 10000, 953, 0, 9047, 10000}, true},
        {"right exactly 0.0952", {10000, 10000, 0, 0, 9048, 10000}, false},
        {"right 953", {10000, 10000, 0, 0, 9047, 10000}, true},
        {"top exactly 0.0673", {10000, 10000, 0, 673, 10000, 9327}, false},
        {"top 674", {10000, 10000, 0, 674, 10000, 9326}, true},
        {"bottom exactly 0.0673", {10000, 10000, 0, 0, 10000, 9327}, false},
        {"bottom 674", {10000, 10000, 0, 0, 10000, 9326}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MarginsExceedPage(c.sheet), c.asks);
    }
}

TEST_F(PrintFixture, WideMarginsAskFirstAndNoEndsBeforeAnyDocument)
{
    printer.sheet = {4960, 7016, 600, 100, 4260, 6816};
    platform.messages.answers = {platform::Messages::Answer::No};
    EXPECT_EQ(Print(), PrintResult::Declined);
    EXPECT_EQ(platform.sounds.exclamations, 1);
    ASSERT_EQ(platform.messages.asked.size(), 1u);
    const auto &q = platform.messages.asked.front();
    EXPECT_EQ(q.caption, QStringLiteral("警告"));
    EXPECT_EQ(q.text, QStringLiteral("プリンタの印刷可能領域を\nこえる可能性があります。\n印刷しますか？"));
    EXPECT_EQ(q.icon, platform::Messages::Icon::Warning);
    EXPECT_EQ(q.buttons, platform::Messages::Buttons::YesNo);
    EXPECT_EQ(q.defaultAnswer, platform::Messages::Answer::Yes);
    EXPECT_FALSE(printer.calls.contains(QStringLiteral("begin")));

    platform.messages.answers = {platform::Messages::Answer::Yes};
    printer.calls.clear();
    EXPECT_EQ(Print(), PrintResult::Printed);
    EXPECT_TRUE(printer.calls.contains(QStringLiteral("end")));
}

TEST_F(PrintFixture, CancelledDialogEndsSilently)
{
    printer.acceptDialog = false;
    printer.sheet = {4960, 7016, 600, 100, 4260, 6816}; // would ask
    EXPECT_EQ(Print(), PrintResult::Cancelled);
    EXPECT_EQ(printer.calls.join(u' '), QStringLiteral("select portrait dialog"));
    EXPECT_EQ(platform.sounds.beeps + platform.sounds.exclamations, 0);
    EXPECT_TRUE(platform.messages.asked.empty());
    EXPECT_TRUE(platform.messages.shown.empty());
}

TEST_F(PrintFixture, InputThatIsNoIntegerBeepsAndNothingReachesThePrinter)
{
    for (const char *cycle : {"", "２８", "28a"}) {
        SCOPED_TRACE(cycle);
        fields.basis = 2; // the cycle must be an integer also for the ultrasound basis
        fields.cycle = QString::fromUtf8(cycle);
        printer = test::FakeSchedulePrinter{};
        printer.sheet = {10000, 10000, 953, 0, 9047, 10000};
        platform.messages.answers = {platform::Messages::Answer::Yes};
        const int beeps = platform.sounds.beeps;
        EXPECT_EQ(Print(), PrintResult::InputFailure);
        EXPECT_EQ(platform.sounds.beeps, beeps + 1);
        // The dialog and the question come as usual; no document is begun.
        EXPECT_EQ(printer.calls.join(u' '), QStringLiteral("select portrait dialog"));
        EXPECT_EQ(printer.openDocuments, 0);
    }
}

TEST_F(PrintFixture, NoPrinterIsToldAndNothingIsOpened)
{
    printer.installed = false;
    EXPECT_EQ(Print(), PrintResult::NoPrinter);
    EXPECT_EQ(printer.calls.join(u' '), QStringLiteral("select"));
    ASSERT_EQ(platform.messages.shown.size(), 1u);
    EXPECT_EQ(platform.messages.shown.front(), NoPrinterMessage());
    EXPECT_TRUE(NoPrinterMessage().contains(QStringLiteral("プリンタ")));
    EXPECT_TRUE(NoPrinterMessage().contains(QStringLiteral("PDFファイルに保存"))); // offered instead
}

TEST_F(PrintFixture, RefusedJobIsToldWithNoDocumentLeftOpen)
{
    printer.refuseBegin = true;
    EXPECT_EQ(Print(), PrintResult::Refused);
    EXPECT_EQ(printer.openDocuments, 0);
    EXPECT_EQ(platform.messages.shown, std::vector<QString>{PrintRefusedMessage()});

    platform.messages.shown.clear();
    printer = test::FakeSchedulePrinter{};
    printer.failEnd = true;
    EXPECT_EQ(Print(), PrintResult::Refused);
    EXPECT_EQ(printer.openDocuments, 0);
    EXPECT_EQ(platform.messages.shown, std::vector<QString>{PrintRefusedMessage()});

    // A printer that reports no sheet prints nothing.
    platform.messages.shown.clear();
    printer = test::FakeSchedulePrinter{};
    printer.sheet = {};
    EXPECT_EQ(Print(), PrintResult::Refused);
    EXPECT_FALSE(printer.calls.contains(QStringLiteral("begin")));
}

TEST_F(PrintFixture, BlockMessagesAreShownWhilePrintingAndPrintingGoesOn)
{
    records.settings.Kikanmeicheck = true;
    WakuRecord frame = WakuRecord::WithEdges(0, 0, 5000, 5000);
    frame.Kind = WakuKind::Unreadable();
    records.block.AppendFrame(frame);
    EXPECT_EQ(Print(), PrintResult::Printed);
    EXPECT_EQ(platform.messages.shown, std::vector<QString>{QStringLiteral("画像データが読み込み不能となっています")});
}
