#include "print/PageGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ralvo::page;

namespace {

const SheetMapping kA4At600(4960, 7016);

PageLayoutInput DefaultInput()
{
    PageLayoutInput in;
    in.titleColumns = 36;    // サンプルさんの出産までのスケジュール
    in.monthLabelWidth = 12; // 【第 + か月】 + 2
    in.weekLabelWidth = 8;   // 妊娠 + 週 + 2
    in.thinLineWidth = PrinterThinLineWidth(4960);
    return in;
}

} // namespace

TEST(PageGeometry, PensAndFontHeightsOnA4At600Dpi)
{
    const PageLayout p = ComputePageLayout(kA4At600, DefaultInput());
    EXPECT_EQ(p.framePen, 13);
    EXPECT_EQ(p.thinPen, 3);
    EXPECT_EQ(p.titleHeight, 133);
    EXPECT_EQ(p.underlinePen, 12);
    EXPECT_EQ(p.dueLineHeight, 116);
    EXPECT_EQ(p.tableTextHeight, 100);
}

TEST(PageGeometry, RoundsHalvesToEvenAndSubtractsOffsets)
{
    // 0.5 × 5 = 2.5 → 2, 0.5 × 7 = 3.5 → 4: never away from zero.
    const SheetMapping sheet(5, 7, 1, 2);
    EXPECT_EQ(sheet.X(0.5), 2 - 1);
    EXPECT_EQ(sheet.Y(0.5), 4 - 2);
    EXPECT_EQ(sheet.OfWidth(0.5), 2);
    EXPECT_EQ(sheet.OfHeight(0.5), 4);
    // round(0.0005 × 5000) = round(2.5) = 2, plus 1.
    EXPECT_EQ(PrinterThinLineWidth(5000), 3);
    EXPECT_EQ(PrinterThinLineWidth(7000), 5); // round(3.5) = 4
}

struct ColumnCase
{
    const char *name;
    bool showLastDay;
    int weekLabel, firstDay, tilde, lastDay, notice;
    std::array<int, 3> rules;
    double noticeFx;
};

class TableColumnsTest : public ::testing::TestWithParam<ColumnCase>
{};

TEST_P(TableColumnsTest, DefaultNotations)
{
    const ColumnCase &c = GetParam();
    const TableColumns cols = ComputeTableColumns(12, 8, c.showLastDay);
    EXPECT_EQ(cols.monthLabel, 0);
    EXPECT_EQ(cols.weekLabel, c.weekLabel);
    EXPECT_EQ(cols.firstDay, c.firstDay);
    EXPECT_EQ(cols.tilde, c.tilde);
    if (c.showLastDay) {
        EXPECT_EQ(cols.lastDay, c.lastDay);
    }
    EXPECT_EQ(cols.notice, c.notice);
    EXPECT_EQ(cols.rules, c.rules);
    EXPECT_EQ(cols.doubledRule, c.rules[2]);
    EXPECT_NEAR(ColumnFraction(cols.notice), c.noticeFx, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(PageGeometry, TableColumnsTest,
                         ::testing::Values(ColumnCase{"WithLastDay", true, 13, 22, 34, 36, 50, {13, 22, 49}, 0.6076},
                                           ColumnCase{
                                               "WithoutLastDay", false, 13, 22, 34, 0, 39, {13, 22, 38}, 0.4965}),
                         [](const auto &test) { return std::string(test.param.name); });

TEST(PageGeometry, ColumnFractionsOfTheDefaultRow)
{
    EXPECT_NEAR(ColumnFraction(0), 0.1026, 1e-12);
    EXPECT_NEAR(ColumnFraction(13), 0.2339, 1e-12);
    EXPECT_NEAR(ColumnFraction(22), 0.3248, 1e-12);
    EXPECT_NEAR(ColumnFraction(34), 0.4460, 1e-12);
    EXPECT_NEAR(ColumnFraction(36), 0.4662, 1e-12);
    // A 30-character notice from column 50 would end at column 110.
    EXPECT_NEAR(ColumnFraction(110), 1.2136, 1e-12);

    const PageLayout p = ComputePageLayout(kA4At600, DefaultInput());
    EXPECT_EQ(p.monthLabelX, 509); // round(0.1026 × 4960) = round(508.896)
    EXPECT_EQ(p.weekLabelX, 1160); // round(1160.144)
    EXPECT_EQ(p.firstDayX, 1611);  // round(1611.008)
    EXPECT_EQ(p.tildeX, 2212);     // round(2212.16)
    EXPECT_EQ(p.lastDayX, 2312);   // round(2312.352)
    EXPECT_EQ(p.noticeX, 3014);    // round(3013.696)
    // Rules 0.005 W left of the columns they precede; the last one doubled.
    EXPECT_EQ(p.columnRules[0], QLine(1135, 862, 1135, 5611)); // 0.0976 + 13 × 0.0101
    EXPECT_EQ(p.columnRules[1].x1(), 1586);                    // 0.0976 + 22 × 0.0101
    EXPECT_EQ(p.columnRules[2].x1(), 2939);                    // 0.0976 + 49 × 0.0101
    EXPECT_EQ(p.columnRules[3].x1(), 2955);                    // 0.1009 + 49 × 0.0101
}

struct MonthRuleCase
{
    int hani;
    int rules;
};

class MonthRulesTest : public ::testing::TestWithParam<MonthRuleCase>
{};

TEST_P(MonthRulesTest, OneRuleBetweenEachPairOfMonthBands)
{
    const MonthRuleCase &c = GetParam();
    const std::vector<double> rules = MonthRuleFractions(c.hani);
    ASSERT_EQ(int(rules.size()), c.rules);
    const int months = 10 - c.hani;
    for (int w = 1; w <= c.rules; ++w)
        EXPECT_DOUBLE_EQ(rules[w - 1], (37.0 + w * 200.0 / months) / 297.0) << "rule " << w;
    // Each rule falls on a band boundary: four rows per month band.
    const int rows = RowCountOfTable(c.hani);
    for (int w = 1; w <= c.rules; ++w)
        EXPECT_NEAR(rules[w - 1], kBandsTop + kBandsHeight / rows * 4 * w, 2e-4);

    const PageLayout p = ComputePageLayout(kA4At600, PageLayoutInput{c.hani});
    ASSERT_EQ(int(p.monthRules.size()), c.rules);
    EXPECT_EQ(p.monthRules.front().p1(), QPoint(472, int(std::nearbyint(rules.front() * 7016))));
    EXPECT_EQ(p.monthRules.front().x2(), 4488);
}

INSTANTIATE_TEST_SUITE_P(PageGeometry, MonthRulesTest,
                         ::testing::Values(MonthRuleCase{0, 9}, MonthRuleCase{1, 8}, MonthRuleCase{2, 7}),
                         [](const auto &test) { return "Hani" + std::to_string(test.param.hani); });

TEST(PageGeometry, MonthRulesOfHaniZeroInMillimetres)
{
    const std::vector<double> rules = MonthRuleFractions(0);
    EXPECT_DOUBLE_EQ(rules.front(), 57.0 / 297.0);
    EXPECT_DOUBLE_EQ(rules.back(), 217.0 / 297.0);
}

TEST(PageGeometry, RowsFor40And32Rows)
{
    EXPECT_EQ(RowCountOfTable(0), 40);
    EXPECT_EQ(FirstWeekOfTable(0), 4);
    EXPECT_EQ(RowCountOfTable(2), 32);
    EXPECT_EQ(FirstWeekOfTable(2), 12);
    // A damaged Hani never empties the table or divides by zero.
    EXPECT_EQ(RowCountOfTable(10), 40);
    EXPECT_EQ(RowCountOfTable(-1), 40);
    EXPECT_EQ(MonthRuleFractions(10).size(), 9u);

    // 40 rows: bands of 0.016835, the first text at 0.1259175.
    EXPECT_NEAR(RowTextFraction(0, 40), 0.1259175, 1e-12);
    EXPECT_NEAR(RowTextFraction(1, 40) - RowTextFraction(0, 40), 0.016835, 1e-12);
    EXPECT_NEAR(RowTextFraction(39, 40), 0.1259175 + 39 * 0.016835, 1e-12);
    // 32 rows: bands of 0.6734 / 32, text centred in each.
    const double band = 0.6734 / 32;
    EXPECT_NEAR(RowTextFraction(0, 32), 0.1246 + (band - 0.0142) / 2, 1e-12);
    EXPECT_NEAR(RowTextFraction(31, 32), 0.1246 + 31 * band + (band - 0.0142) / 2, 1e-12);

    PageLayoutInput in = DefaultInput();
    const PageLayout p40 = ComputePageLayout(kA4At600, in);
    ASSERT_EQ(p40.rowTops.size(), 40u);
    EXPECT_EQ(p40.rowTops.front(), 883); // round(0.1259175 × 7016) = round(883.437)
    EXPECT_EQ(p40.rowTops.back(), 5490); // round(0.7824825 × 7016) = round(5489.98)
    in.hani = 2;
    const PageLayout p32 = ComputePageLayout(kA4At600, in);
    ASSERT_EQ(p32.rowTops.size(), 32u);
    EXPECT_EQ(p32.rowTops.front(), int(std::nearbyint(RowTextFraction(0, 32) * 7016)));
}

TEST(PageGeometry, TitleOf36ColumnsIsCentredAndUnderlined)
{
    EXPECT_NEAR(TitleLeftFraction(36), 0.2579, 1e-12);
    EXPECT_NEAR(TitleRightFraction(36), 0.7421, 1e-12);
    const PageLayout p = ComputePageLayout(kA4At600, DefaultInput());
    EXPECT_EQ(p.titlePoint, QPoint(1279, 472));          // 0.2579 × 4960 = 1279.18, 0.0673 × 7016
    EXPECT_EQ(p.underline, QLine(1279, 614, 3681, 614)); // 0.0875 × 7016 = 613.9
    EXPECT_EQ(p.dueLinePoint, QPoint(1313, 685));        // 0.2648 × 4960, 0.0976 × 7016
}

TEST(PageGeometry, TableFrameAndOffsetsOfAPrinter)
{
    const PageLayout p = ComputePageLayout(SheetMapping(4960, 7016, 100, 80), DefaultInput());
    EXPECT_EQ(p.frameTopLeft, QPoint(472 - 100, 862 - 80));
    EXPECT_EQ(p.frameBottomRight, QPoint(4488 - 100, 5611 - 80));
    EXPECT_EQ(p.sheetOutline, QRect(QPoint(0, 0), QPoint(4960, 7016)));
}

TEST(PageGeometry, BlockUnitsMapIntoTheBoxBelowTheTable)
{
    EXPECT_EQ(BlockX(kA4At600, 0), 472);
    EXPECT_EQ(BlockX(kA4At600, 10000), 4487); // round(0.9047 × 4960) = round(4487.31)
    EXPECT_EQ(BlockY(kA4At600, 0), 5611);
    EXPECT_EQ(BlockY(kA4At600, 10000), 6544); // round(0.9327 × 7016) = round(6543.82)
    EXPECT_EQ(BlockX(kA4At600, 5000), 2480);  // round(0.50 × 4960)
    // Outside 0 … 10000 lies outside the box.
    EXPECT_LT(BlockX(kA4At600, -1000), 472);
    EXPECT_GT(BlockY(kA4At600, 12000), 6544);
    EXPECT_EQ(BlockX(SheetMapping(4960, 7016, 100, 50), 0), 372);
    EXPECT_EQ(BlockY(SheetMapping(4960, 7016, 100, 50), 0), 5561);
    // Text measures are unrounded; the gap follows the height.
    EXPECT_DOUBLE_EQ(BlockEm(kA4At600, 580), 580 / 10000.0 * 0.8095 * 4960);
    EXPECT_DOUBLE_EQ(BlockGap(kA4At600, 6790), 6790 / 10000.0 * 0.133 * 7016);
}
