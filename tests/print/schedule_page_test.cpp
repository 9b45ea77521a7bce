#include "print/SchedulePage.h"

#include "kikanmei/WakuDrawing.h"
#include "platform/CellFont.h"
#include "platform/Fonts.h"
#include "platform/ShiftJis.h"
#include "print/PageBlock.h"
#include "print/PageGeometry.h"
#include "support/CalcPrinters.h"
#include "support/FakePlatform.h"
#include "support/RecordingPaintDevice.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ralvo;
using ralvo::test::PaintCall;
using ralvo::test::RecordingPaintDevice;

namespace {

constexpr int kWidth = 4960;
constexpr int kHeight = 7016;

// The worked example: last menstrual period 2024-01-01, cycle 28, サンプル.
PlainInputFields ExampleFields()
{
    PlainInputFields f;
    f.basis = 0;
    f.year = QStringLiteral("2024");
    f.month = QStringLiteral("1");
    f.day = QStringLiteral("1");
    f.mother = QStringLiteral("サンプル");
    f.cycle = QStringLiteral("28");
    return f;
}

class SchedulePageTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { platform::InstallFontSubstitutions(); }

    PageResult Draw(QPaintDevice &paintDevice, int width, int height, bool outline = false,
                    int thin = page::PrinterThinLineWidth(kWidth))
    {
        QPainter painter(&paintDevice);
        PageTarget target;
        target.surface = &painter;
        target.paperWidth = width;
        target.paperHeight = height;
        target.thinLineWidth = thin;
        target.paperOutline = outline;
        return DrawSchedulePage(target, PageSources{settings, notices, block, fields, fakes.messages, fakes.sounds});
    }

    PageResult Record(bool outline = false) { return Draw(device, kWidth, kHeight, outline); }

    std::vector<PaintCall> Texts() const { return device.Of(PaintCall::Kind::Text); }
    std::vector<PaintCall> Lines() const { return device.Of(PaintCall::Kind::Line); }

    // The one text call showing exactly `text`.
    PaintCall TextCall(const QString &text) const
    {
        std::vector<PaintCall> found;
        for (const PaintCall &c : Texts()) {
            if (c.text == text)
                found.push_back(c);
        }
        EXPECT_EQ(found.size(), 1u) << text.toStdString();
        return found.empty() ? PaintCall{} : found.front();
    }

    // Top of the text's first cell, from its baseline.
    double CellTop(const PaintCall &c) const { return c.point.y() - platform::CellAscent(c.font, device); }

    // The texts of one row, left to right.
    std::vector<PaintCall> RowTexts(int top) const
    {
        std::vector<PaintCall> row;
        for (const PaintCall &c : Texts()) {
            if (std::abs(CellTop(c) - top) < 0.01)
                row.push_back(c);
        }
        return row;
    }

    ScheduleSettings settings;
    NoticeTable notices = DefaultNoticeTable();
    KikanmeiBlock block;
    PlainInputFields fields = ExampleFields();
    test::FakePlatform fakes;
    RecordingPaintDevice device{kWidth, kHeight};
};

QColor Rgb(Colour c) { return ToQColor(c); }

} // namespace

TEST_F(SchedulePageTest, WorkedExampleTitleAndDueDateLine)
{
    ASSERT_EQ(Record(), PageResult::Drawn);
    EXPECT_EQ(fakes.sounds.beeps, 0);
    EXPECT_TRUE(fakes.messages.shown.empty());

    const PaintCall title = TextCall(QStringLiteral("サンプルさんの出産までのスケジュール"));
    EXPECT_DOUBLE_EQ(title.point.x(), 1279); // 0.2579 of the width
    EXPECT_NEAR(CellTop(title), 472, 1e-9);  // 0.0673 of the height
    // A full-width character is as wide as the cell is high (133), so the
    // title of 18 of them is as wide as its underline from 1279 to 3681.
    const QFontMetricsF titleMetrics(title.font, &device);
    EXPECT_NEAR(titleMetrics.horizontalAdvance(QChar(0x3000)), 133, 0.01);
    EXPECT_NEAR(titleMetrics.horizontalAdvance(title.text), 3681 - 1279, 0.01 * (3681 - 1279));
    // The em box of 133 begins at the cell's top and ends above the underline.
    EXPECT_NEAR(titleMetrics.ascent() + titleMetrics.descent(), 133 * 1.0757, 0.5);
    EXPECT_LT(CellTop(title) + 133, 614 - 12 / 2);
    EXPECT_EQ(title.pen.color(), Rgb(settings.Titcolor));

    const PaintCall due = TextCall(QStringLiteral("出産予定日：　2024年10月 7日（月曜日）"));
    EXPECT_DOUBLE_EQ(due.point.x(), 1313);
    EXPECT_NEAR(CellTop(due), 685, 1e-9);
    EXPECT_NEAR(QFontMetricsF(due.font, &device).horizontalAdvance(QChar(0x3000)), 116, 0.01);
    EXPECT_EQ(due.pen.color(), Rgb(settings.Yotcolor));

    // The underline follows the title, in its colour, 12 wide.
    const std::vector<PaintCall> lines = Lines();
    const auto underline = std::find_if(lines.begin(), lines.end(),
                                        [](const PaintCall &c) { return c.line == QLineF(1279, 614, 3681, 614); });
    ASSERT_NE(underline, lines.end());
    EXPECT_EQ(underline->pen.widthF(), 12);
    EXPECT_EQ(underline->pen.color(), Rgb(settings.Titcolor));
}

TEST_F(SchedulePageTest, EmptyNameLeavesTheTitleStartingWithSan)
{
    fields.mother.clear();
    Record();
    const PaintCall title = TextCall(QStringLiteral("さんの出産までのスケジュール"));
    // 28 columns: (1 − 28 × 0.5 × 0.0269) × 0.5 = 0.3117 of the width.
    EXPECT_DOUBLE_EQ(title.point.x(), std::nearbyint(0.3117 * kWidth));
}

TEST_F(SchedulePageTest, WorkedExampleRows)
{
    Record();
    const page::PageLayout p = [] {
        page::PageLayoutInput in;
        in.monthLabelWidth = 12;
        in.weekLabelWidth = 8;
        return page::ComputePageLayout(page::SheetMapping(kWidth, kHeight), in);
    }();
    ASSERT_EQ(p.rowTops.size(), 40u);

    // Week 4: month label, week label, first day, "～", last day, notice.
    const std::vector<PaintCall> first = RowTexts(p.rowTops[0]);
    ASSERT_EQ(first.size(), 6u);
    const QStringList texts{QStringLiteral("【第 2か月】"), QStringLiteral("妊娠 4週"),
                            QStringLiteral(" 1月29日(月)"), QStringLiteral("～"),
                            QStringLiteral(" 2月 4日(日)"), notices.ForWeek(4).text};
    const std::vector<int> xs{509, 1160, 1611, 2212, 2312, 3014};
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].text, texts[int(i)]);
        EXPECT_DOUBLE_EQ(first[i].point.x(), xs[i]) << texts[int(i)].toStdString();
        // Each text fills its columns of the grid (0.0101 of the width, 50.1
        // here): a full-width character is as wide as the cell is high (100).
        const QFontMetricsF metrics(first[i].font, &device);
        EXPECT_NEAR(metrics.horizontalAdvance(QChar(0x3000)), 100, 0.01);
        const double grid = platform::ShiftJisWidth(first[i].text) * 0.0101 * kWidth;
        EXPECT_NEAR(metrics.horizontalAdvance(first[i].text), grid, 0.01 * grid) << texts[int(i)].toStdString();
    }
    // The first day ends where "～" begins.
    EXPECT_NEAR(xs[2] + QFontMetricsF(first[2].font, &device).horizontalAdvance(first[2].text), xs[3], 6);
    EXPECT_EQ(first[5].pen.color(), Rgb(notices.ForWeek(4).color));

    // Week 40 (row 36): no month label, the due date first in its own colour.
    const std::vector<PaintCall> due = RowTexts(p.rowTops[36]);
    ASSERT_EQ(due.size(), 6u);
    EXPECT_EQ(due[0].text, QString(12, QLatin1Char(' ')));
    EXPECT_EQ(due[1].text, QStringLiteral("妊娠40週"));
    EXPECT_EQ(due[2].text, QStringLiteral("10月 7日(月)"));
    EXPECT_EQ(due[2].pen.color(), Rgb(settings.Yoteibicolor));

    // The last row, week 43, ends on 3 November.
    const std::vector<PaintCall> last = RowTexts(p.rowTops[39]);
    ASSERT_GE(last.size(), 5u);
    EXPECT_EQ(last[4].text, QStringLiteral("11月 3日(日)"));

    // Nine month rules and four column rules, 3 wide, black; frame 13 wide.
    const std::vector<PaintCall> rects = device.Of(PaintCall::Kind::Rect);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].pen.widthF(), 13);
    EXPECT_EQ(rects[0].rect.topLeft(), QPointF(472, 862));
    int thin = 0;
    for (const PaintCall &c : Lines()) {
        if (c.pen.widthF() == 3) {
            ++thin;
            EXPECT_EQ(c.pen.color(), QColor(Qt::black));
        }
    }
    EXPECT_EQ(thin, 9 + 4);
}

TEST_F(SchedulePageTest, ColoursOfTheTermWindowAndTheDueDate)
{
    settings.MWcolor = 0x112233; // distinct from the day colour
    settings.Daycolor = 0x445566;
    Record();
    const std::vector<int> tops =
        page::ComputePageLayout(page::SheetMapping(kWidth, kHeight), page::PageLayoutInput{}).rowTops;
    struct Expect
    {
        int week;
        Colour week_, first, tilde, last;
    };
    const Colour s = settings.Seikicolor, m = settings.MWcolor, d = settings.Daycolor;
    const Expect expected[] = {
        {36, m, d, d, d}, {37, s, s, s, s}, {39, s, s, s, s}, {40, s, settings.Yoteibicolor, s, s},
        {41, s, s, s, s}, {42, m, d, d, d},
    };
    for (const Expect &e : expected) {
        const std::vector<PaintCall> row = RowTexts(tops[std::size_t(e.week - 4)]);
        ASSERT_GE(row.size(), 5u) << "week " << e.week;
        EXPECT_EQ(row[0].pen.color(), Rgb(m)) << "week " << e.week;
        EXPECT_EQ(row[1].pen.color(), Rgb(e.week_)) << "week " << e.week;
        EXPECT_EQ(row[2].pen.color(), Rgb(e.first)) << "week " << e.week;
        EXPECT_EQ(row[3].pen.color(), Rgb(e.tilde)) << "week " << e.week;
        EXPECT_EQ(row[4].pen.color(), Rgb(e.last)) << "week " << e.week;
    }
}

TEST_F(SchedulePageTest, ColourOffDrawsEveryTextAndLineBlackButTheOutline)
{
    settings.Colorcheck = false;
    Record(/*outline=*/true);
    for (const PaintCall &c : Texts())
        EXPECT_EQ(c.pen.color(), QColor(Qt::black)) << c.text.toStdString();
    for (const PaintCall &c : Lines())
        EXPECT_EQ(c.pen.color(), QColor(Qt::black));
    const std::vector<PaintCall> rects = device.Of(PaintCall::Kind::Rect);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].pen.color(), QColor(0, 0, 255));
    EXPECT_EQ(rects[0].pen.style(), Qt::DotLine);
    EXPECT_EQ(rects[0].rect, QRectF(0, 0, kWidth - 1, kHeight - 1));
    EXPECT_EQ(rects[1].pen.color(), QColor(Qt::black));
}

TEST_F(SchedulePageTest, WithoutLastDaysTheNoticeMovesLeftAndTheTildeStays)
{
    settings.Shumatsucheck = false;
    Record();
    const std::vector<PaintCall> row = RowTexts(std::nearbyint(page::RowTextFraction(0, 40) * kHeight));
    ASSERT_EQ(row.size(), 5u);
    EXPECT_EQ(row[3].text, QStringLiteral("～"));
    EXPECT_DOUBLE_EQ(row[3].point.x(), 2212);
    EXPECT_EQ(row[4].text, notices.ForWeek(4).text);
    EXPECT_DOUBLE_EQ(row[4].point.x(), std::nearbyint(0.4965 * kWidth));
    // The doubled rule now stands before column 38.
    const std::vector<PaintCall> lines = Lines();
    const PaintCall &last = lines.back();
    EXPECT_DOUBLE_EQ(last.line.x1(), std::nearbyint((0.1009 + 38 * 0.0101) * kWidth));
    EXPECT_DOUBLE_EQ(lines[lines.size() - 2].line.x1(), std::nearbyint((0.0976 + 38 * 0.0101) * kWidth));
}

TEST_F(SchedulePageTest, NoticesOffStillDrawsTheRulesAndALongNoticeIsNeverCut)
{
    const QString longNotice(30, QChar(0x3042)); // 30 full-width characters
    notices.ForWeek(5).text = longNotice;
    Record();
    const PaintCall notice = TextCall(longNotice);
    EXPECT_DOUBLE_EQ(notice.point.x(), 3014);

    device.calls.clear();
    settings.Noticecheck = false;
    Record();
    for (const PaintCall &c : Texts())
        EXPECT_NE(c.text, longNotice);
    EXPECT_EQ(Lines().size(), 9u + 1u + 4u); // month rules, underline, column rules
}

TEST_F(SchedulePageTest, HaniTwoStartsAtWeekTwelveWith32Rows)
{
    settings.Hani = 2;
    Record();
    const double firstTop = std::nearbyint(page::RowTextFraction(0, 32) * kHeight);
    const std::vector<PaintCall> first = RowTexts(int(firstTop));
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first[0].text, QStringLiteral("【第 4か月】"));
    EXPECT_EQ(first[1].text, QStringLiteral("妊娠12週"));
    EXPECT_EQ(first[2].text, QStringLiteral(" 3月25日(月)"));
    int weekLabels = 0;
    for (const PaintCall &c : Texts())
        weekLabels += c.text.startsWith(QStringLiteral("妊娠")) && c.text.endsWith(QStringLiteral("週"));
    EXPECT_EQ(weekLabels, 32);
    EXPECT_EQ(Lines().size(), 7u + 1u + 4u);
}

TEST_F(SchedulePageTest, BadInputBeepsAndStopsAfterTheTitle)
{
    for (const QString &cycle : {QString(), QStringLiteral("2x")}) {
        device.calls.clear();
        fakes.sounds.beeps = 0;
        fields.cycle = cycle;
        fields.basis = 2; // the cycle must be an integer also when unused
        EXPECT_EQ(Record(), PageResult::InputFailure);
        EXPECT_EQ(fakes.sounds.beeps, 1);
        ASSERT_EQ(Texts().size(), 1u);
        EXPECT_EQ(Texts()[0].text, QStringLiteral("サンプルさんの出産までのスケジュール"));
        EXPECT_EQ(device.calls.back().kind, PaintCall::Kind::Line); // the underline
        EXPECT_EQ(device.Of(PaintCall::Kind::Rect).size(), 1u);
        EXPECT_EQ(Lines().size(), 9u + 1u);
    }
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(SchedulePageTest, DrawsInTheOrderOfThePage)
{
    Record(true);
    const std::vector<PaintCall> &calls = device.calls;
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0].kind, PaintCall::Kind::Rect); // outline
    EXPECT_EQ(calls[1].kind, PaintCall::Kind::Rect); // table frame
    for (int i = 2; i < 11; ++i)
        EXPECT_EQ(calls[std::size_t(i)].kind, PaintCall::Kind::Line); // month rules
    EXPECT_EQ(calls[11].kind, PaintCall::Kind::Text);                 // title
    EXPECT_EQ(calls[12].kind, PaintCall::Kind::Line);                 // underline
    EXPECT_EQ(calls[13].kind, PaintCall::Kind::Text);                 // due date
    for (std::size_t i = calls.size() - 4; i < calls.size(); ++i)
        EXPECT_EQ(calls[i].kind, PaintCall::Kind::Line); // column rules last
}

TEST_F(SchedulePageTest, PrinterOffsetsMoveEveryPoint)
{
    QPainter painter(&device);
    PageTarget target{&painter, kWidth, kHeight, 100, 60, 3, false};
    DrawSchedulePage(target, PageSources{settings, notices, block, fields, fakes.messages, fakes.sounds});
    painter.end();
    EXPECT_EQ(device.Of(PaintCall::Kind::Rect)[0].rect.topLeft(), QPointF(372, 802));
    const PaintCall title = TextCall(QStringLiteral("サンプルさんの出産までのスケジュール"));
    EXPECT_DOUBLE_EQ(title.point.x(), 1179);
    EXPECT_NEAR(CellTop(title), 412, 1e-9);
}

TEST_F(SchedulePageTest, DamagedBlockFramesAreReportedOnceEachPerDrawing)
{
    // Frame 1: good edges, a picture found unreadable earlier. Frame 2: one
    // edge is not a number.
    block = KikanmeiBlock(QStringList{QStringLiteral("0"),
                                      QStringLiteral("0"),
                                      QStringLiteral("5000"),
                                      QStringLiteral("5000"),
                                      {},
                                      {},
                                      {},
                                      {},
                                      QStringLiteral("Non"),
                                      QStringLiteral("/nowhere/logo.bmp"),
                                      QStringLiteral("100"),
                                      QStringLiteral("x"),
                                      QStringLiteral("200"),
                                      QStringLiteral("300"),
                                      {},
                                      {},
                                      {},
                                      {},
                                      {},
                                      {}});
    Record();
    EXPECT_EQ(fakes.messages.shown, (std::vector<QString>{UnreadablePictureMessage(), IncompleteBlockMessage()}));
    Record();
    EXPECT_EQ(fakes.messages.shown.size(), 4u);

    fakes.messages.shown.clear();
    settings.Kikanmeicheck = false;
    Record();
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST(PageFrameEdges, UnreadableEdgesKeepThoseOfTheFrameBefore)
{
    const page::SheetMapping sheet(kWidth, kHeight);
    const PageFrameEdges first = MapFrameEdges(sheet, QStringLiteral("0"), QStringLiteral("x"), QStringLiteral("10000"),
                                               QStringLiteral("10000"), {});
    EXPECT_FALSE(first.complete);
    EXPECT_EQ(first.left, 472);
    EXPECT_EQ(first.top, 0); // nothing before it: 0 device units
    EXPECT_EQ(first.right, 4487);
    EXPECT_EQ(first.bottom, 6544);
    const PageFrameEdges second =
        MapFrameEdges(sheet, QString(), QStringLiteral("5000"), QStringLiteral("-"), QStringLiteral("10000"), first);
    EXPECT_FALSE(second.complete);
    EXPECT_EQ(second.left, 472);
    EXPECT_EQ(second.right, 4487);
    EXPECT_EQ(second.top, page::BlockY(sheet, 5000));
}

// The look on a real raster: the preview sheet at zoom level 2.
TEST_F(SchedulePageTest, RasterPreviewHasColouredTextOnlyWhenColourIsOn)
{
    const auto colouredPixels = [](const QImage &image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
                if (std::max({r, g, b}) - std::min({r, g, b}) > 60)
                    ++count;
            }
        }
        return count;
    };
    const auto render = [this] {
        QImage image(849, 1201, QImage::Format_RGB32);
        image.fill(Qt::white);
        Draw(image, 849, 1201, false, 1);
        return image;
    };
    const QImage colour = render();
    EXPECT_GT(colouredPixels(colour), 500);
    // The table frame's left edge: a dark vertical line at x = round(0.0952 × 849).
    const int frameX = 81, midY = 600;
    EXPECT_LT(qGray(colour.pixel(frameX, midY)), 64);
    EXPECT_EQ(qGray(colour.pixel(frameX - 6, midY)), 255);

    settings.Colorcheck = false;
    EXPECT_EQ(colouredPixels(render()), 0);
}

namespace {

QStringList Frame(int left, int top, int right, int bottom, const QString &fontHeight, const QString &charGap,
                  const QString &color, const QString &kind, const QString &content)
{
    return {QString::number(left),
            QString::number(top),
            QString::number(right),
            QString::number(bottom),
            fontHeight,
            charGap,
            QStringLiteral("ＭＳ ゴシック"),
            color,
            kind,
            content};
}

} // namespace

TEST_F(SchedulePageTest, BlockFramesMapIntoTheBoxBelowTheTable)
{
    QTemporaryDir dir;
    const QString bmp = dir.filePath(QStringLiteral("logo.bmp"));
    QImage logo(200, 100, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(bmp, "BMP"));
    // A horizontal text in blue, then a stretched picture over the right half.
    block = KikanmeiBlock(Frame(1000, 2000, 5000, 4000, QStringLiteral("300"), QStringLiteral("0"),
                                QStringLiteral("16711680"), QStringLiteral("L"), QStringLiteral("ABC"))
                          + Frame(5000, 0, 10000, 10000, {}, {}, {}, QStringLiteral("V"), bmp));
    const page::SheetMapping sheet(kWidth, kHeight);
    const int left = page::BlockX(sheet, 1000), top = page::BlockY(sheet, 2000);
    const double em = page::BlockEm(sheet, 300); // 0.03 × 0.8095 × 4960 = 120.45

    for (const bool colour : {true, false}) {
        device.calls.clear();
        settings.Colorcheck = colour;
        ASSERT_EQ(Record(), PageResult::Drawn);
        const auto texts = Texts();
        const auto a = std::find_if(texts.begin(), texts.end(),
                                    [](const PaintCall &c) { return c.text.startsWith(QLatin1Char('A')); });
        ASSERT_NE(a, texts.end());
        EXPECT_DOUBLE_EQ(a->point.x(), left);
        EXPECT_NEAR(CellTop(*a), top, 1e-9);
        EXPECT_NEAR(QFontMetricsF(a->font, &device).height(), std::nearbyint(em), 0.5);
        EXPECT_EQ(a->pen.color(), colour ? QColor(0, 0, 255) : QColor(Qt::black));

        // The picture fills the frame's inner rectangle, drawn last.
        const std::vector<PaintCall> images = device.Of(PaintCall::Kind::Image);
        ASSERT_EQ(images.size(), 1u);
        const int l = page::BlockX(sheet, 5000), t = page::BlockY(sheet, 0);
        const int r = page::BlockX(sheet, 10000), b = page::BlockY(sheet, 10000);
        EXPECT_EQ(images[0].rect, QRectF(QPoint(l + 1, t + 1), QPoint(r - 1, b - 1)));
        EXPECT_EQ(device.calls.back().kind, PaintCall::Kind::Image);
    }
    EXPECT_TRUE(fakes.messages.shown.empty());

    // Colour off or not, the picture keeps its colours on a raster.
    QImage image(849, 1201, QImage::Format_RGB32);
    image.fill(Qt::white);
    Draw(image, 849, 1201, false, 1);
    const QPoint inside(page::BlockX(page::SheetMapping(849, 1201), 7500),
                        page::BlockY(page::SheetMapping(849, 1201), 5000));
    EXPECT_EQ(image.pixel(inside), qRgb(255, 0, 0));
}

TEST_F(SchedulePageTest, MissingPictureBeepsOnceThenReportsTheFrameAsUnreadable)
{
    block =
        KikanmeiBlock(Frame(0, 0, 5000, 5000, {}, {}, {}, QStringLiteral("F"), QStringLiteral("/nowhere/gone.bmp")));
    Record();
    EXPECT_EQ(fakes.sounds.beeps, 1);
    EXPECT_EQ(fakes.messages.shown, std::vector<QString>{PictureLoadFailedMessage()});
    EXPECT_EQ(block.Frame(0).Kind, QStringLiteral("Non"));

    Record();
    EXPECT_EQ(fakes.sounds.beeps, 1);
    EXPECT_EQ(fakes.messages.shown, (std::vector<QString>{PictureLoadFailedMessage(), UnreadablePictureMessage()}));
    EXPECT_TRUE(device.Of(PaintCall::Kind::Image).empty());
}

TEST_F(SchedulePageTest, BlockIsLeftOutWhenSwitchedOff)
{
    block = KikanmeiBlock(Frame(0, 0, 5000, 5000, QStringLiteral("300"), QStringLiteral("0"), QStringLiteral("0"),
                                QStringLiteral("L"), QStringLiteral("XYZ")));
    settings.Kikanmeicheck = false;
    Record();
    for (const PaintCall &c : Texts())
        EXPECT_FALSE(c.text.contains(QLatin1Char('X')));
    EXPECT_EQ(device.calls.back().kind, PaintCall::Kind::Line); // the doubled rule
}

// A repaint of part of the sheet (a scroll step exposes a strip) skips what
// lies outside it: painted strip by strip the sheet must come out exactly as
// painted whole, texts reaching over a strip's edge included, and every
// picture is still read at every drawing.
TEST_F(SchedulePageTest, SheetPaintedInStripsEqualsTheWholeAndReadsEveryPicture)
{
    QTemporaryDir folder;
    QImage logo(40, 30, QImage::Format_RGB32);
    logo.fill(QColor(30, 140, 60));
    const QString logoPath = folder.filePath(QStringLiteral("logo.bmp"));
    ASSERT_TRUE(logo.save(logoPath));
    const KikanmeiBlock frames(
        Frame(0, 0, 6000, 3000, QStringLiteral("220"), QStringLiteral("0"), QStringLiteral("255"), QStringLiteral("L"),
              QStringLiteral("さくらクリニック（産婦人科）"))
        + Frame(9000, 0, 9900, 9900, QStringLiteral("130"), QStringLiteral("40"), QStringLiteral("0"),
                QStringLiteral("P"), QStringLiteral("電話（03）1234-5678ー。"))
        + Frame(100, 5000, 3000, 9000, {}, {}, {}, QStringLiteral("F"), logoPath)
        + Frame(3000, 5000, 6000, 9000, {}, {}, {}, QStringLiteral("F"), folder.filePath(QStringLiteral("gone.bmp"))));

    const QSize sheet(1351, 1911);
    const auto paint = [&](QImage &image, const QRect &exposed) {
        QPainter painter(&image);
        if (!exposed.isNull())
            painter.setClipRect(exposed);
        DrawSchedulePage({&painter, sheet.width(), sheet.height(), 0, 0, 1, true},
                         PageSources{settings, notices, block, fields, fakes.messages, fakes.sounds});
    };
    QImage whole(sheet, QImage::Format_RGB32);
    whole.fill(Qt::white);
    block = frames;
    paint(whole, {});
    const int beepsWhole = fakes.sounds.beeps;
    QImage strips(sheet, QImage::Format_RGB32);
    strips.fill(Qt::white);
    for (int y = 0; y < sheet.height(); y += 37) {
        block = frames;
        fakes.sounds.beeps = 0;
        paint(strips, QRect(0, y, sheet.width(), 37));
        // The unreadable picture is found in every strip, wherever it lies.
        EXPECT_EQ(fakes.sounds.beeps, beepsWhole) << y;
        EXPECT_EQ(block.Frame(3).Kind, QStringLiteral("Non")) << y;
    }
    EXPECT_EQ(beepsWhole, 1);
    EXPECT_TRUE(strips == whole);
}
