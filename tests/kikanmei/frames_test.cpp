// The frame view of the institution block, and the arithmetic of frames:
// integer fields, block units to pixels, text fitting, character offsets and
// picture placement.
#include "kikanmei/KikanmeiBlock.h"
#include "kikanmei/WakuGeometry.h"

#include <gtest/gtest.h>

using namespace ralvo;

namespace {

WakuRecord TextFrame(WakuEdges units, const QString &kind, const QString &text)
{
    WakuRecord frame = WakuRecord::WithEdges(units.Left, units.Top, units.Right, units.Bottom);
    frame.Kind = kind;
    frame.Content = text;
    frame.FontName = QStringLiteral("ＭＳ 明朝");
    frame.Color = QStringLiteral("0");
    return frame;
}

} // namespace

TEST(KikanmeiFrames, NewFrameIsWrittenAsFourNumbersAndSixEmptyLines)
{
    KikanmeiBlock block;
    block.AppendFrame(WakuRecord::WithEdges(100, 200, 3000, 4000));
    EXPECT_EQ(block.ToText(), QStringLiteral("100\r\n200\r\n3000\r\n4000\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));

    const KikanmeiBlock read = KikanmeiBlock::FromText(block.ToText());
    ASSERT_EQ(read.Lines().size(), 10);
    ASSERT_EQ(read.FrameCount(), 1);
    EXPECT_EQ(read.Frame(0), WakuRecord::WithEdges(100, 200, 3000, 4000));
    EXPECT_EQ(KikanmeiBlock().ToText(), QString());
    EXPECT_EQ(KikanmeiBlock::FromText(QString()).FrameCount(), 0);
}

TEST(KikanmeiFrames, CoordinatesOutsideTheBlockSurviveTheRoundTrip)
{
    KikanmeiBlock block;
    WakuRecord frame = WakuRecord::WithEdges(-250, -1, 10001, 123456);
    frame.Kind = QStringLiteral("P");
    frame.Content = QStringLiteral("０３－１２");
    block.AppendFrame(frame);
    const KikanmeiBlock copy = KikanmeiBlock::FromText(block.ToText());
    EXPECT_EQ(copy.Frame(0), frame);
    EXPECT_EQ(WakuEdgesInUnits(copy.Frame(0)), (WakuEdges{-250, -1, 10001, 123456}));
}

TEST(KikanmeiFrames, RemovingAFrameMovesTheLaterOnesUp)
{
    KikanmeiBlock block;
    for (int i = 0; i < 3; ++i)
        block.AppendFrame(WakuRecord::WithEdges(i, i, i + 10, i + 10));
    block.RemoveFrame(1);
    ASSERT_EQ(block.FrameCount(), 2);
    EXPECT_EQ(block.Frame(0).Left, QStringLiteral("0"));
    EXPECT_EQ(block.Frame(1).Left, QStringLiteral("2"));
    WakuRecord changed = block.Frame(1);
    changed.Kind = QStringLiteral("Non");
    block.SetFrame(1, changed);
    EXPECT_EQ(block.Lines().at(18), QStringLiteral("Non"));
    EXPECT_EQ(block.Lines().size(), 20);
}

TEST(KikanmeiFrames, TrailingPartialFrameIsKeptAndCompletedOnChange)
{
    // 13 lines: one whole frame and three lines of a second one.
    QString text;
    for (int i = 0; i < 13; ++i)
        text += QString::number(i) + QStringLiteral("\r\n");
    KikanmeiBlock block = KikanmeiBlock::FromText(text);
    ASSERT_EQ(block.FrameCount(), 2);
    EXPECT_EQ(block.Frame(1).Left, QStringLiteral("10"));
    EXPECT_EQ(block.Frame(1).Bottom, QString());
    EXPECT_FALSE(WakuEdgesInUnits(block.Frame(1)));
    EXPECT_EQ(block.ToText(), text); // saved again unchanged

    block.AppendFrame(WakuRecord::WithEdges(1, 2, 3, 4));
    ASSERT_EQ(block.Lines().size(), 30);
    EXPECT_EQ(block.Frame(1).Content, QString());
    EXPECT_EQ(block.Frame(2), WakuRecord::WithEdges(1, 2, 3, 4));

    KikanmeiBlock partial = KikanmeiBlock::FromText(QStringLiteral("7\r\n"));
    partial.RemoveFrame(0);
    EXPECT_TRUE(partial.Lines().isEmpty());
}

TEST(KikanmeiFrames, IntegerFieldsAreDecimalWithAnOptionalSign)
{
    const std::vector<std::pair<QString, std::optional<int>>> cases{
        {QStringLiteral("0"), 0},
        {QStringLiteral("-250"), -250},
        {QStringLiteral("+12"), 12},
        {QStringLiteral("2147483647"), 2147483647},
        {QStringLiteral("-2147483648"), -2147483647 - 1},
        {QStringLiteral("2147483648"), std::nullopt},
        {QStringLiteral("99999999999999999999"), std::nullopt},
        {QString(), std::nullopt},
        {QStringLiteral("-"), std::nullopt},
        {QStringLiteral(" 1"), std::nullopt},
        {QStringLiteral("1.0"), std::nullopt},
        {QStringLiteral("１２"), std::nullopt}, // full-width digits
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(ParseWakuInteger(text), expected) << text.toStdString();
}

TEST(KikanmeiFrames, EditorCanvasMapsBothWays)
{
    const auto canvas = BlockToPixels::ForCanvas(1000, 229);
    // A frame dragged from (100, 20) to (500, 80).
    EXPECT_EQ(canvas.UnitsX(100), 1000);
    EXPECT_EQ(canvas.UnitsY(20), 873);
    EXPECT_EQ(canvas.UnitsX(500), 5000);
    EXPECT_EQ(canvas.UnitsY(80), 3493);
    EXPECT_EQ(canvas.Edges(WakuEdges{1000, 873, 5000, 3493}), (WakuEdges{100, 20, 500, 80}));
    // Halves go to the even neighbour: 25 units of 100 pixels is 0.25 → 0, 150 → 1.5 → 2.
    const auto small = BlockToPixels::ForCanvas(100, 100);
    EXPECT_EQ(small.X(50), 0);
    EXPECT_EQ(small.X(150), 2);
    EXPECT_EQ(small.X(250), 2);
    EXPECT_EQ(small.X(-150), -2);
    EXPECT_EQ(BlockToPixels::ForCanvas(0, 0).UnitsX(10), 0);
    // A block placed elsewhere on a target, as on the page.
    const BlockToPixels page(472, 5607, 4013.5, 933.3);
    EXPECT_EQ(page.X(0), 472);
    EXPECT_EQ(page.X(10000), 4486); // 4485.5 → even
    EXPECT_DOUBLE_EQ(page.Em(1000), 401.35);
    EXPECT_DOUBLE_EQ(page.Gap(1000), 93.33);
}

TEST(KikanmeiFrames, WorkedExampleFitsAndDrawsBack)
{
    WakuRecord frame = TextFrame({1000, 873, 5000, 3493}, QStringLiteral("L"), QStringLiteral("ABC"));
    FitWakuText(frame, 1000, 229);
    EXPECT_EQ(frame.FontHeight, QStringLiteral("580"));
    EXPECT_EQ(frame.CharGap, QStringLiteral("6790"));

    const auto canvas = BlockToPixels::ForCanvas(1000, 229);
    const double em = canvas.Em(580);
    const double gap = canvas.Gap(6790);
    EXPECT_DOUBLE_EQ(em, 58.0);
    EXPECT_NEAR(gap, 155.491, 0.001);
    const auto offsets = WakuCharacterOffsets(MeasureWakuText(frame.Content), em, gap);
    // Drawn at x = 101, 285 and 470 with the inset of 1 on the canvas.
    EXPECT_EQ(offsets, (std::vector<int>{0, 184, 369}));
}

TEST(KikanmeiFrames, OneCharacterTakesTheSmallerSide)
{
    // 1000 × 1000 canvas: 10 units per pixel.
    for (const QString &kind : {QStringLiteral("L"), QStringLiteral("P")}) {
        WakuRecord wide = TextFrame({0, 0, 1020, 420}, kind, QStringLiteral("院"));
        FitWakuText(wide, 1000, 1000);
        EXPECT_EQ(wide.FontHeight, QStringLiteral("400")); // em 40
        EXPECT_EQ(wide.CharGap, QStringLiteral("0"));
        WakuRecord tall = TextFrame({0, 0, 420, 1020}, kind, QStringLiteral("A"));
        FitWakuText(tall, 1000, 1000);
        EXPECT_EQ(tall.FontHeight, QStringLiteral("400"));
        EXPECT_EQ(tall.CharGap, QStringLiteral("0"));
    }
}

TEST(KikanmeiFrames, VerticalTextSpreadsItsSpareLength)
{
    // ０３－１２: n = 5, u = 10, inner area 38 × 198: 198 > 190.
    WakuRecord frame = TextFrame({0, 0, 400, 2000}, QStringLiteral("P"), QStringLiteral("０３－１２"));
    FitWakuText(frame, 1000, 1000);
    EXPECT_EQ(frame.FontHeight, QStringLiteral("380")); // em 38
    EXPECT_EQ(frame.CharGap, QStringLiteral("20"));     // gap 2
    const auto offsets = WakuCharacterOffsets(MeasureWakuText(frame.Content), 38, 2);
    EXPECT_EQ(offsets, (std::vector<int>{0, 40, 80, 120, 160}));
    EXPECT_EQ(offsets.back() + 38, 198); // the last character ends at the far inner edge
}

TEST(KikanmeiFrames, LongTextShrinksWithoutGaps)
{
    // u = 10 at h = 58 needs 290 pixels; only 98 are there.
    WakuRecord horizontal = TextFrame({0, 0, 1000, 600}, QStringLiteral("L"), QStringLiteral("ABCDEFGHIJ"));
    FitWakuText(horizontal, 1000, 1000);
    EXPECT_EQ(horizontal.FontHeight, QStringLiteral("196")); // em = 98 / 5 = 19.6, truncated
    EXPECT_EQ(horizontal.CharGap, QStringLiteral("0"));
    WakuRecord vertical = TextFrame({0, 0, 600, 1000}, QStringLiteral("P"), QStringLiteral("あいうえお"));
    FitWakuText(vertical, 1000, 1000);
    EXPECT_EQ(vertical.FontHeight, QStringLiteral("196"));
    EXPECT_EQ(vertical.CharGap, QStringLiteral("0"));
}

TEST(KikanmeiFrames, FitLeavesOtherFramesAlone)
{
    WakuRecord empty = TextFrame({0, 0, 500, 500}, QStringLiteral("L"), QString());
    empty.FontHeight = QStringLiteral("12");
    const WakuRecord emptyBefore = empty;
    FitWakuText(empty, 1000, 1000);
    EXPECT_EQ(empty, emptyBefore);

    WakuRecord picture = TextFrame({0, 0, 500, 500}, QStringLiteral("F"), QStringLiteral("/tmp/logo.bmp"));
    const WakuRecord pictureBefore = picture;
    FitWakuText(picture, 1000, 1000);
    EXPECT_EQ(picture, pictureBefore);

    WakuRecord damaged = TextFrame({0, 0, 500, 500}, QStringLiteral("L"), QStringLiteral("AB"));
    damaged.Right = QStringLiteral("x");
    const WakuRecord damagedBefore = damaged;
    FitWakuText(damaged, 1000, 1000);
    EXPECT_EQ(damaged, damagedBefore);

    WakuRecord text = TextFrame({0, 0, 500, 500}, QStringLiteral("L"), QStringLiteral("AB"));
    const WakuRecord textBefore = text;
    FitWakuText(text, 0, 229); // no canvas: no division by zero
    EXPECT_EQ(text, textBefore);
}

TEST(KikanmeiFrames, TinyFrameFitsWithoutDividingByZero)
{
    // Inner size 0 × -2 and 2 characters: the cell goes to 0 or below; drawing skips it.
    WakuRecord frame = TextFrame({0, 0, 20, 0}, QStringLiteral("L"), QStringLiteral("AB"));
    FitWakuText(frame, 1000, 1000);
    EXPECT_TRUE(ParseWakuInteger(frame.FontHeight));
    EXPECT_LE(*ParseWakuInteger(frame.FontHeight), 0);
}

TEST(KikanmeiFrames, CharactersCountTheirShiftJisBytes)
{
    const WakuTextMeasure m = MeasureWakuText(QStringLiteral("Aｶ全〜"));
    EXPECT_EQ(m.n, 4);
    EXPECT_EQ(m.u, 6);
    EXPECT_EQ(m.widths, (std::vector<int>{1, 1, 2, 2}));
    EXPECT_EQ(m.chars.back(), QStringLiteral("～")); // the input method's wave dash, as CP932 has it
    const WakuTextMeasure emoji = MeasureWakuText(QStringLiteral("😀A"));
    EXPECT_EQ(emoji.n, 2);
    EXPECT_EQ(emoji.u, 3);
}

TEST(KikanmeiFrames, PicturePlacement)
{
    // 200 × 100 bitmap. Inner 300 × 100: relatively wider, flush right.
    EXPECT_EQ(WakuPictureDestination(QStringLiteral("F"), {10, 20, 312, 122}, 200, 100), QRect(111, 21, 200, 100));
    // Inner 100 × 300: full width, flush top, 50 high.
    EXPECT_EQ(WakuPictureDestination(QStringLiteral("F"), {10, 20, 112, 322}, 200, 100), QRect(11, 21, 100, 50));
    EXPECT_EQ(WakuPictureDestination(QStringLiteral("V"), {10, 20, 112, 322}, 200, 100), QRect(11, 21, 100, 300));
    // Nothing to draw into, or nothing to draw.
    EXPECT_FALSE(WakuPictureDestination(QStringLiteral("F"), {10, 20, 12, 322}, 200, 100));
    EXPECT_FALSE(WakuPictureDestination(QStringLiteral("V"), {10, 20, 112, 10}, 200, 100));
    EXPECT_FALSE(WakuPictureDestination(QStringLiteral("F"), {10, 20, 112, 322}, 0, 100));
    EXPECT_FALSE(WakuPictureDestination(QStringLiteral("V"), {10, 20, 112, 322}, 200, 0));
    EXPECT_FALSE(WakuPictureDestination(QStringLiteral("Non"), {10, 20, 112, 322}, 200, 100));
}

TEST(KikanmeiFrames, LongFaceNamesAreCutToThirtyOneBytes)
{
    const QString name = QStringLiteral("ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰ");  // 32 bytes
    EXPECT_EQ(WakuRequestFaceName(name, false), name.left(15));               // 30 bytes: the 16th would make 32
    EXPECT_EQ(WakuRequestFaceName(name, true), name.left(15));                // "@" + 30 = 31
    const QString ascii = QStringLiteral("abcdefghijklmnopqrstuvwxyz012345"); // 32 bytes
    EXPECT_EQ(WakuRequestFaceName(ascii, false), ascii.left(31));
    EXPECT_EQ(WakuRequestFaceName(ascii, true), ascii.left(30));
    EXPECT_EQ(WakuRequestFaceName(QStringLiteral("ＭＳ 明朝"), true), QStringLiteral("ＭＳ 明朝"));
}

TEST(KikanmeiFrames, APointSelectsTheLastFrameContainingIt)
{
    KikanmeiBlock block;
    block.AppendFrame(WakuRecord::WithEdges(0, 0, 5000, 5000));
    block.AppendFrame(WakuRecord::WithEdges(4000, 4000, 9000, 9000));
    WakuRecord damaged = WakuRecord::WithEdges(0, 0, 10000, 10000);
    damaged.Top = QStringLiteral("?");
    block.AppendFrame(damaged);
    EXPECT_EQ(WakuFrameAt(block, 4500, 4500), 1); // shared: the later one
    EXPECT_EQ(WakuFrameAt(block, 5000, 100), 0);  // exactly on the right edge
    EXPECT_EQ(WakuFrameAt(block, 9000, 9000), 1); // corner
    EXPECT_EQ(WakuFrameAt(block, 9001, 9000), std::nullopt);
    EXPECT_EQ(WakuFrameAt(KikanmeiBlock(), 0, 0), std::nullopt);
}
