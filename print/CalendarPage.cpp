#include "print/CalendarPage.h"

#include "calc/Schedule.h"
#include "platform/Platform.h"
#include "platform/ShiftJis.h"
#include "print/PageBlock.h"
#include "print/PageGeometry.h"
#include "print/PagePainter.h"

#include <QPainter>

#include <algorithm>

namespace ralvo {

namespace {

using namespace calendar_page;
using page::SheetMapping;

// The pens and fonts of one drawing.
class CalendarSheet
{
public:
    CalendarSheet(const PageTarget &target, const ScheduleSettings &settings)
        : m_sheet(target.paperWidth, target.paperHeight, target.offsetX, target.offsetY),
          m_painter(*target.surface, settings.Colorcheck), m_settings(settings), m_device(*target.surface->device()),
          m_thinPen(target.thinLineWidth)
    {}

    const SheetMapping &Sheet() const { return m_sheet; }
    PagePainter &Painter() { return m_painter; }
    int ThinPen() const { return m_thinPen; }

    CellFont Font(const QString &face, double heightFraction) const
    {
        return CellFontOf(face, m_sheet.OfHeight(heightFraction));
    }
    CellFont CellFontOf(const QString &face, int cellHeight) const { return MakeCellFont(face, cellHeight, m_device); }

    void Text(const CellFont &font, Colour colour, double fx, double fy, const QString &text)
    {
        m_painter.Text(font, m_painter.Ink(colour), m_sheet.Point(fx, fy), text);
    }

    // A heading with a rule under it across the given width.
    void Heading(double fx, double fy, double right, const QString &text)
    {
        const CellFont font = Font(m_settings.MWfont, kHeadingHeight);
        Text(font, m_settings.MWcolor, fx, fy, text);
        m_painter.SetPen(m_painter.Ink(m_settings.MWcolor), m_sheet.OfWidth(page::kThickPen) / 2 + 1);
        const int y = m_sheet.Y(fy + kHeadingHeight * 1.25);
        m_painter.Line(QLine(m_sheet.X(fx), y, m_sheet.X(right), y));
    }

private:
    SheetMapping m_sheet;
    PagePainter m_painter;
    const ScheduleSettings &m_settings;
    const QPaintDevice &m_device;
    int m_thinPen;
};

void DrawTitle(CalendarSheet &sheet, const ScheduleSettings &settings, const QString &title)
{
    page::PageLayoutInput input;
    input.hani = settings.Hani;
    input.titleColumns = platform::ShiftJisWidth(title);
    const page::PageLayout layout = page::ComputePageLayout(sheet.Sheet(), input);
    PagePainter &painter = sheet.Painter();
    painter.Text(sheet.CellFontOf(settings.Titfont, layout.titleHeight), painter.Ink(settings.Titcolor),
                 layout.titlePoint, title);
    painter.SetPen(painter.Ink(settings.Titcolor), layout.underlinePen);
    painter.Line(layout.underline);
}

struct Line
{
    QString label;
    QString value;
};

std::vector<Line> DateLines(const CalendarPlan &plan, const ScheduleSettings &settings, platform::Messages &messages)
{
    QString base = CalendarDateText(plan.baseDate, messages);
    if (plan.basis == CalculationBasis::LastMenstrualPeriod)
        base += QStringLiteral("（月経周期 %1日）").arg(plan.cycle);
    QString leave = CalendarDateText(plan.milestones.maternityLeaveStart, messages) + QStringLiteral("から");
    if (plan.birthLeave && plan.birthLeave->prenatalLeave)
        leave += CalendarDateText(plan.birthLeave->prenatalLeave->last, messages) + QStringLiteral("まで");
    else if (plan.birthLeave)
        leave = QStringLiteral("なし（出産が休業の始まりより前）");
    return {
        {BasisName(plan.basis), base},
        {DueDateTerm(settings.Yoteiyogo), CalendarDateWithWareki(plan.dates.dueDate, messages)},
        {QStringLiteral("推定排卵日"), CalendarDateText(plan.dates.ovulationDate, messages)},
        {QStringLiteral("推定着床日"), CalendarDateText(plan.dates.implantationDate, messages)},
        {QStringLiteral("正期産"),
         CalendarSpanText(plan.milestones.fullTermStart, plan.milestones.fullTermEnd, messages)},
        {plan.multiple ? QStringLiteral("産前休業（多胎）") : QStringLiteral("産前休業"), leave},
    };
}

void DrawDates(CalendarSheet &sheet, const CalendarPlan &plan, const ScheduleSettings &settings,
               platform::Messages &messages)
{
    const CellFont labelFont = sheet.Font(settings.MWfont, kTextHeight);
    const CellFont dateFont = sheet.Font(settings.Dayfont, kTextHeight);
    const CellFont dueFont = sheet.Font(settings.Yotfont, kTextHeight);
    const std::vector<Line> lines = DateLines(plan, settings, messages);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double y = kDatesTop + double(i) * kLineStep;
        const bool due = i == 1;
        sheet.Text(labelFont, settings.MWcolor, page::kTableLeft, y, lines[i].label);
        sheet.Text(due ? dueFont : dateFont, due ? settings.Yotcolor : settings.Daycolor,
                   page::kTableLeft + kLabelWidth, y, lines[i].value);
    }
}

void DrawCheckups(CalendarSheet &sheet, const CalendarPlan &plan, const ScheduleSettings &settings,
                  platform::Messages &messages)
{
    sheet.Heading(page::kTableLeft, kCheckupsTop, page::kTableRight, QStringLiteral("妊婦健診の目安"));
    const std::size_t rows = plan.checkups.size() + 1;
    const double rowHeight = std::min(kRowHeight, kTableHeight / double(rows));
    const double textHeight = std::min(kTextHeight, rowHeight * 0.7);
    const CellFont labelFont = sheet.Font(settings.MWfont, textHeight);
    const CellFont dateFont = sheet.Font(settings.Dayfont, textHeight);
    const double inset = (rowHeight - textHeight) / 2;
    const double pad = 0.0100;

    const QString header[4] = {QStringLiteral("回"), QStringLiteral("週"), QStringLiteral("期間"),
                               QStringLiteral("受診日")};
    for (int c = 0; c < 4; ++c)
        sheet.Text(labelFont, settings.MWcolor, kColumns[c] + pad, kTableTop + inset, header[c]);
    for (std::size_t r = 0; r + 1 < rows; ++r) {
        const Checkup &checkup = plan.checkups[r];
        const double y = kTableTop + double(r + 1) * rowHeight + inset;
        sheet.Text(dateFont, settings.Daycolor, kColumns[0] + pad, y, QString::number(checkup.number));
        sheet.Text(dateFont, settings.Daycolor, kColumns[1] + pad, y, QStringLiteral("%1週").arg(checkup.week));
        sheet.Text(dateFont, settings.Daycolor, kColumns[2] + pad, y,
                   CalendarSpanText(checkup.days.first, checkup.days.last, messages));
    }

    // The grid: a frame, the header's double rule, thin row and column rules.
    const page::SheetMapping &map = sheet.Sheet();
    PagePainter &painter = sheet.Painter();
    const double bottom = kTableTop + double(rows) * rowHeight;
    painter.SetPen(Qt::black, sheet.ThinPen());
    for (std::size_t r = 1; r < rows; ++r) {
        const int y = map.Y(kTableTop + double(r) * rowHeight);
        painter.Line(QLine(map.X(kColumns[0]), y, map.X(kColumns[4]), y));
    }
    for (int c = 1; c < 4; ++c)
        painter.Line(QLine(map.X(kColumns[c]), map.Y(kTableTop), map.X(kColumns[c]), map.Y(bottom)));
    const int doubled = map.Y(kTableTop + rowHeight) + 2 * sheet.ThinPen() + 1;
    painter.Line(QLine(map.X(kColumns[0]), doubled, map.X(kColumns[4]), doubled));
    painter.SetPen(Qt::black, map.OfWidth(page::kThickPen));
    painter.Outline(map.Point(kColumns[0], kTableTop), map.Point(kColumns[4], bottom));
}

void DrawLower(CalendarSheet &sheet, const CalendarPlan &plan, const ScheduleSettings &settings,
               platform::Messages &messages)
{
    const double step = 0.0185;
    const double first = kLowerTop + 0.0300;
    const CellFont labelFont = sheet.Font(settings.MWfont, kTextHeight);
    const CellFont dateFont = sheet.Font(settings.Dayfont, kTextHeight);

    sheet.Heading(page::kTableLeft, kLowerTop, kRightColumn - 0.0300, QStringLiteral("戌の日（帯祝い）"));
    for (std::size_t i = 0; i < plan.inuNoHi.size(); ++i) {
        const double y = first + double(i) * step * 2;
        sheet.Text(dateFont, i == 0 ? settings.Yoteibicolor : settings.Daycolor, page::kTableLeft + 0.0100, y,
                   CalendarDateText(plan.inuNoHi[i], messages));
        if (i == 0)
            sheet.Text(labelFont, settings.MWcolor, page::kTableLeft + 0.0300, y + step,
                       QStringLiteral("★最初の戌の日"));
    }

    if (!plan.birthLeave)
        return;
    const BirthLeave &leave = *plan.birthLeave;
    sheet.Heading(kRightColumn, kLowerTop, page::kTableRight,
                  QStringLiteral("出産日　") + CalendarDateText(leave.birth, messages));
    const Line lines[] = {
        {QStringLiteral("産後休業"), CalendarSpanText(leave.postnatalLeave.first, leave.postnatalLeave.last, messages)},
        {QStringLiteral("育児休業"), CalendarSpanText(leave.childcareLeave.first, leave.childcareLeave.last, messages)},
        {QStringLiteral("出産手当金の期間"),
         CalendarSpanText(leave.maternityAllowance.first, leave.maternityAllowance.last, messages)},
    };
    for (std::size_t i = 0; i < std::size(lines); ++i) {
        const double y = first + double(i) * step * 2;
        sheet.Text(labelFont, settings.MWcolor, kRightColumn, y, lines[i].label);
        sheet.Text(dateFont, settings.Daycolor, kRightColumn + 0.0200, y + step, lines[i].value);
    }
}

} // namespace

PageResult DrawCalendarPage(const PageTarget &target, const PageSources &sources, const CalendarRequest &request)
{
    if (!target.surface || target.paperWidth <= 0 || target.paperHeight <= 0)
        return PageResult::Drawn; // nothing to draw on
    QPainter &painter = *target.surface;
    const ScheduleSettings &settings = sources.settings;
    CalendarSheet sheet(target, settings);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrush(Qt::NoBrush);
    if (target.paperOutline) {
        sheet.Painter().SetPen(QColor(0, 0, 255), 1, Qt::DotLine);
        sheet.Painter().Outline(QPoint(0, 0), QPoint(target.paperWidth, target.paperHeight));
    }

    DrawTitle(sheet, settings, CalendarTitle(sources.fields.MotherName()));
    const std::optional<CalendarPlan> plan = MakeCalendarPlan(sources.fields, request);
    if (!plan) {
        sources.sounds.Beep();
        return PageResult::InputFailure;
    }
    DrawDates(sheet, *plan, settings, sources.messages);
    DrawCheckups(sheet, *plan, settings, sources.messages);
    DrawLower(sheet, *plan, settings, sources.messages);

    // The institution block: the schedule page's box and frames.
    if (settings.Kikanmeicheck)
        DrawPageBlock(painter, sheet.Sheet(), sources.block, settings.Colorcheck, sources.messages, sources.sounds);
    return PageResult::Drawn;
}

PageDrawing CalendarPageDrawing(const CalendarRequest &request)
{
    return [request](const PageTarget &target, const PageSources &sources) {
        return DrawCalendarPage(target, sources, request);
    };
}

} // namespace ralvo
