#include "print/PageGeometry.h"

#include "calc/Rounding.h"

#include <cmath>

namespace ralvo::page {

int SheetMapping::X(double fx) const { return RoundHalfEven(fx * m_width) - m_offsetX; }

int SheetMapping::Y(double fy) const { return RoundHalfEven(fy * m_height) - m_offsetY; }

int SheetMapping::OfWidth(double f) const { return RoundHalfEven(f * m_width); }

int SheetMapping::OfHeight(double f) const { return RoundHalfEven(f * m_height); }

int PrinterThinLineWidth(int paperWidth) { return RoundHalfEven(kThinPen * paperWidth) + 1; }

int ValidHani(int hani) { return hani >= 0 && hani <= 2 ? hani : 0; }

int FirstWeekOfTable(int hani) { return 4 * ValidHani(hani) + 4; }

int RowCountOfTable(int hani) { return 40 - 4 * ValidHani(hani); }

std::vector<double> MonthRuleFractions(int hani)
{
    const int months = 10 - ValidHani(hani);
    std::vector<double> rules;
    for (int w = 1; w <= months - 1; ++w)
        rules.push_back((37.0 + w * 200.0 / months) / 297.0);
    return rules;
}

double RowTextFraction(int row, int rowCount)
{
    const double gap = (kBandsHeight - kTableTextHeight * rowCount) / rowCount;
    return kBandsTop + gap / 2 + (gap + kTableTextHeight) * row;
}

double ColumnFraction(int column) { return kColumnZero + column * kHalfColumn; }

double ColumnRuleFraction(int column) { return kRuleOrigin + column * kHalfColumn; }

double DoubleRuleFraction(int column) { return kDoubleRuleOrigin + column * kHalfColumn; }

double TitleLeftFraction(int columns) { return (1 - columns * 0.5 * kTitleHeight) * 0.5; }

double TitleRightFraction(int columns)
{
    return columns * 0.5 * kTitleHeight + (1 - columns * 0.5 * kTitleHeight) * 0.5;
}

TableColumns ComputeTableColumns(int monthLabelWidth, int weekLabelWidth, bool showLastDay)
{
    const int l1 = monthLabelWidth;
    const int l2 = weekLabelWidth;
    const int e = showLastDay ? 12 : 1;
    TableColumns c;
    c.monthLabel = 0;
    c.weekLabel = l1 + 1;
    c.firstDay = l1 + l2 + 2;
    c.tilde = l1 + l2 + 14;
    c.lastDay = l1 + l2 + 16;
    c.notice = l1 + l2 + e + 18;
    c.rules = {l1 + 1, l1 + l2 + 2, l1 + l2 + e + 17};
    c.doubledRule = l1 + l2 + e + 17;
    return c;
}

int BlockX(const SheetMapping &sheet, int u) { return sheet.X(u / double(kBlockUnits) * kBlockWidth + kTableLeft); }

int BlockY(const SheetMapping &sheet, int u) { return sheet.Y(u / double(kBlockUnits) * kBlockHeight + kTableBottom); }

double BlockEm(const SheetMapping &sheet, int fontHeight)
{
    return fontHeight / double(kBlockUnits) * kBlockWidth * sheet.PaperWidth();
}

double BlockGap(const SheetMapping &sheet, int charGap)
{
    return charGap / double(kBlockUnits) * kBlockHeight * sheet.PaperHeight();
}

PageLayout ComputePageLayout(const SheetMapping &sheet, const PageLayoutInput &input)
{
    PageLayout p;
    p.sheetOutline = QRect(QPoint(0, 0), QPoint(sheet.PaperWidth(), sheet.PaperHeight()));

    p.framePen = sheet.OfWidth(kThickPen) + 1;
    p.frameTopLeft = sheet.Point(kTableLeft, kTableTop);
    p.frameBottomRight = sheet.Point(kTableRight, kTableBottom);

    p.thinPen = input.thinLineWidth;
    for (double fy : MonthRuleFractions(input.hani))
        p.monthRules.emplace_back(sheet.Point(kTableLeft, fy), sheet.Point(kTableRight, fy));

    p.titleHeight = sheet.OfWidth(kTitleHeight);
    p.titlePoint = sheet.Point(TitleLeftFraction(input.titleColumns), kTitleTop);
    p.underlinePen = sheet.OfWidth(kThickPen);
    p.underline = QLine(sheet.Point(TitleLeftFraction(input.titleColumns), kTitleUnderline),
                        sheet.Point(TitleRightFraction(input.titleColumns), kTitleUnderline));

    p.dueLineHeight = sheet.OfHeight(kDueLineHeight);
    p.dueLinePoint = sheet.Point(kDueLineLeft, kDueLineTop);

    p.tableTextHeight = sheet.OfHeight(kTableTextHeight);
    const int rows = RowCountOfTable(input.hani);
    for (int k = 0; k < rows; ++k)
        p.rowTops.push_back(sheet.Y(RowTextFraction(k, rows)));

    const TableColumns c = ComputeTableColumns(input.monthLabelWidth, input.weekLabelWidth, input.showLastDay);
    p.monthLabelX = sheet.X(ColumnFraction(c.monthLabel));
    p.weekLabelX = sheet.X(ColumnFraction(c.weekLabel));
    p.firstDayX = sheet.X(ColumnFraction(c.firstDay));
    p.tildeX = sheet.X(ColumnFraction(c.tilde));
    p.lastDayX = sheet.X(ColumnFraction(c.lastDay));
    p.noticeX = sheet.X(ColumnFraction(c.notice));

    const int top = sheet.Y(kTableTop);
    const int bottom = sheet.Y(kTableBottom);
    for (std::size_t i = 0; i < c.rules.size(); ++i) {
        const int x = sheet.X(ColumnRuleFraction(c.rules[i]));
        p.columnRules[i] = QLine(x, top, x, bottom);
    }
    const int doubled = sheet.X(DoubleRuleFraction(c.doubledRule));
    p.columnRules[3] = QLine(doubled, top, doubled, bottom);
    return p;
}

} // namespace ralvo::page
