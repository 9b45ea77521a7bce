#pragma once

// Geometry of the schedule page. Every position, size and pen width is a
// fixed fraction of the sheet (the fractions of an A4 sheet in millimetres),
// the two axes scaled separately; each product of a fraction and the sheet
// size is rounded once, to the nearest integer with halves to even, so the
// page comes out alike at any resolution and paper size. Pure arithmetic:
// no painter, no fonts.

#include <QLine>
#include <QPoint>
#include <QRect>

#include <array>
#include <vector>

namespace ralvo::page {

// Page fractions (W: of the sheet's width, H: of its height).
inline constexpr double kTableLeft = 0.0952;        // W, also month rules and block
inline constexpr double kTableRight = 0.9048;       // W
inline constexpr double kTableTop = 0.1229;         // H, also upper end of column rules
inline constexpr double kTableBottom = 0.7997;      // H, also top of the block
inline constexpr double kBandsTop = 0.1246;         // H
inline constexpr double kBandsHeight = 0.6734;      // H
inline constexpr double kTitleTop = 0.0673;         // H
inline constexpr double kTitleUnderline = 0.0875;   // H
inline constexpr double kTitleHeight = 0.0269;      // W: font height and full-width column
inline constexpr double kDueLineTop = 0.0976;       // H
inline constexpr double kDueLineLeft = 0.2648;      // W
inline constexpr double kDueLineHeight = 0.0166;    // H
inline constexpr double kTableTextHeight = 0.0142;  // H
inline constexpr double kColumnZero = 0.1026;       // W
inline constexpr double kHalfColumn = 0.0101;       // W
inline constexpr double kRuleOrigin = 0.0976;       // W
inline constexpr double kDoubleRuleOrigin = 0.1009; // W
inline constexpr double kThickPen = 0.0024;         // W
inline constexpr double kThinPen = 0.0005;          // W
inline constexpr double kBlockWidth = 0.8095;       // W
inline constexpr double kBlockHeight = 0.133;       // H
inline constexpr int kBlockUnits = 10000;

// Maps page fractions to device points of one sheet of paperWidth ×
// paperHeight device units whose surface has its origin at (offsetX,
// offsetY) of the sheet (the printable area's corner on a printer).
class SheetMapping
{
public:
    SheetMapping(int paperWidth, int paperHeight, int offsetX = 0, int offsetY = 0)
        : m_width(paperWidth), m_height(paperHeight), m_offsetX(offsetX), m_offsetY(offsetY)
    {}

    int PaperWidth() const { return m_width; }
    int PaperHeight() const { return m_height; }

    // Positions: round(f × size) − offset.
    int X(double fx) const;
    int Y(double fy) const;
    QPoint Point(double fx, double fy) const { return {X(fx), Y(fy)}; }

    // Sizes (pen widths, font heights): round(f × size), no offset.
    int OfWidth(double f) const;
    int OfHeight(double f) const;

private:
    int m_width;
    int m_height;
    int m_offsetX;
    int m_offsetY;
};

// The thin pen on a printer sheet: round(0.0005 × width) + 1.
int PrinterThinLineWidth(int paperWidth);

// Number of rows and first week for the setting Hani (0, 1, 2; anything
// else counts as 0, so a damaged value can never empty the table).
int ValidHani(int hani);
int FirstWeekOfTable(int hani);
int RowCountOfTable(int hani);

// Month rules: fy of rule w (1 … 9 − Hani) = (37 + w × 200 / months) / 297.
std::vector<double> MonthRuleFractions(int hani);

// Top of the texts of row k among n rows, centred in bands of 0.6734 / n.
double RowTextFraction(int row, int rowCount);

// Column c of the table grid, and the rules standing before it.
double ColumnFraction(int column);
double ColumnRuleFraction(int column);
double DoubleRuleFraction(int column);

// Left and right end of a title n columns wide, centred on the sheet on the
// assumption of 0.5 × 0.0269 of the width per column.
double TitleLeftFraction(int columns);
double TitleRightFraction(int columns);

// The grid columns of a row's texts, from the widths L1 of the month label
// and L2 of the week label, and whether the week's last day is shown.
struct TableColumns
{
    int monthLabel = 0;
    int weekLabel = 0;
    int firstDay = 0;
    int tilde = 0;
    int lastDay = 0; // used only when the last day is shown
    int notice = 0;
    std::array<int, 3> rules{}; // before week labels, dates, notices
    int doubledRule = 0;        // the column whose rule is doubled (the notices)
};

TableColumns ComputeTableColumns(int monthLabelWidth, int weekLabelWidth, bool showLastDay);

// Institution block units (0 … 10000 across and down the box below the
// table) to device points; values outside the range lie outside the box.
int BlockX(const SheetMapping &sheet, int u);
int BlockY(const SheetMapping &sheet, int u);
// Text measures of a frame on the sheet, unrounded: the cell height from
// FontHeight (of the block's width), the extra gap from CharGap (of the
// block's height, also for horizontal frames).
double BlockEm(const SheetMapping &sheet, int fontHeight);
double BlockGap(const SheetMapping &sheet, int charGap);

// Every device position of one page, computed before drawing.
struct PageLayout
{
    QRect sheetOutline; // (0, 0) to (PW, PH)
    int framePen = 0;
    QPoint frameTopLeft;
    QPoint frameBottomRight;
    int thinPen = 1;
    std::vector<QLine> monthRules;

    int titleHeight = 0;
    QPoint titlePoint; // top-left of the title's first cell
    int underlinePen = 0;
    QLine underline;

    int dueLineHeight = 0;
    QPoint dueLinePoint;

    int tableTextHeight = 0;
    std::vector<int> rowTops; // y of each row's texts
    int monthLabelX = 0;
    int weekLabelX = 0;
    int firstDayX = 0;
    int tildeX = 0;
    int lastDayX = 0;
    int noticeX = 0;
    std::array<QLine, 4> columnRules; // the last two form the double rule
};

struct PageLayoutInput
{
    int hani = 0;
    int titleColumns = 0;    // Shift-JIS width of the title
    int monthLabelWidth = 0; // L1
    int weekLabelWidth = 0;  // L2
    bool showLastDay = true; // Shumatsucheck
    int thinLineWidth = 1;
};

PageLayout ComputePageLayout(const SheetMapping &sheet, const PageLayoutInput &input);

} // namespace ralvo::page
