#include "print/SchedulePage.h"

#include "calc/Schedule.h"
#include "platform/Platform.h"
#include "platform/ShiftJis.h"
#include "print/PageBlock.h"
#include "print/PageGeometry.h"
#include "print/PagePainter.h"

#include <QPainter>

namespace ralvo {

namespace {

using page::PageLayout;
using page::SheetMapping;

QString DueDateLine(const Schedule &schedule, platform::Messages &messages)
{
    const CalendarDate &due = schedule.dates.dueDate;
    return schedule.dueDateTerm + QStringLiteral("：　") + YearText(due.year) + MonthText(due.month) + DayText(due.day)
           + WeekdayNameLong(due, messages);
}

} // namespace

CalculationInput PageInput(const LastInputFields &fields)
{
    CalculationInput input;
    input.basis = AnyCalculationBasisFromInt(fields.Basis()).value_or(CalculationBasis::LastMenstrualPeriod);
    input.year = fields.YearText();
    input.month = fields.MonthText();
    input.day = fields.DayText();
    input.cycle = fields.CycleText();
    return input;
}

std::optional<Schedule> PageSchedule(const ScheduleSettings &settings, const LastInputFields &fields)
{
    return BuildSchedule(PageInput(fields), fields.MotherName(), settings, page::FirstWeekOfTable(settings.Hani));
}

PageResult DrawSchedulePage(const PageTarget &target, const PageSources &sources)
{
    if (!target.surface || target.paperWidth <= 0 || target.paperHeight <= 0)
        return PageResult::Drawn; // nothing to draw on
    QPainter &painter = *target.surface;
    const QPaintDevice &device = *painter.device();
    const ScheduleSettings &settings = sources.settings;
    PagePainter page(painter, settings.Colorcheck);

    const SheetMapping sheet(target.paperWidth, target.paperHeight, target.offsetX, target.offsetY);
    const QString title = ScheduleTitle(settings.Tit, sources.fields.MotherName());
    page::PageLayoutInput layoutInput;
    layoutInput.hani = settings.Hani;
    layoutInput.titleColumns = platform::ShiftJisWidth(title);
    layoutInput.monthLabelWidth = platform::ShiftJisWidth(settings.Tsuki1 + settings.Tsuki2) + 2;
    layoutInput.weekLabelWidth = platform::ShiftJisWidth(settings.Shu1 + settings.Shu2) + 2;
    layoutInput.showLastDay = settings.Shumatsucheck;
    layoutInput.thinLineWidth = target.thinLineWidth;
    const PageLayout layout = page::ComputePageLayout(sheet, layoutInput);

    // 1. The sheet's outline: blue and dotted, also when printing in black.
    if (target.paperOutline) {
        page.SetPen(QColor(0, 0, 255), 1, Qt::DotLine);
        page.Outline(layout.sheetOutline.topLeft(), layout.sheetOutline.bottomRight());
    }

    // 2.–3. Table frame.
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrush(Qt::NoBrush);
    page.SetPen(Qt::black, layout.framePen);
    page.Outline(layout.frameTopLeft, layout.frameBottomRight);

    // 4. Month rules.
    page.SetPen(Qt::black, layout.thinPen);
    for (const QLine &rule : layout.monthRules)
        page.Line(rule);

    // 5. Title and its underline; the title needs no date.
    const CellFont titleFont = MakeCellFont(settings.Titfont, layout.titleHeight, device);
    page.Text(titleFont, page.Ink(settings.Titcolor), layout.titlePoint, title);
    page.SetPen(page.Ink(settings.Titcolor), layout.underlinePen);
    page.Line(layout.underline);

    // 6. Inputs.
    const std::optional<Schedule> schedule = PageSchedule(settings, sources.fields);
    if (!schedule) {
        sources.sounds.Beep();
        return PageResult::InputFailure;
    }

    // 7. Due-date line.
    const CellFont dueFont = MakeCellFont(settings.Yotfont, layout.dueLineHeight, device);
    page.Text(dueFont, page.Ink(settings.Yotcolor), layout.dueLinePoint, DueDateLine(*schedule, sources.messages));

    // 8. One row per week.
    const CellFont labelFont = MakeCellFont(settings.MWfont, layout.tableTextHeight, device);
    const CellFont dayFont = MakeCellFont(settings.Dayfont, layout.tableTextHeight, device);
    const CellFont noticeFont = MakeCellFont(settings.Notfont, layout.tableTextHeight, device);
    const auto rowCount = std::min(schedule->rows.size(), layout.rowTops.size());
    // A repaint of part of the surface skips the rows it does not touch; a
    // row's band is widened by a cell above and below for glyphs reaching
    // out of their cells.
    const bool clipped = painter.hasClipping();
    const QRectF clip = clipped ? painter.clipBoundingRect() : QRectF();
    for (std::size_t k = 0; k < rowCount; ++k) {
        const ScheduleRow &row = schedule->rows[k];
        const int y = layout.rowTops[k];
        const double h = layout.tableTextHeight;
        if (clipped && (y + 2 * h < clip.top() || y - h > clip.bottom()))
            continue;
        const Colour dayColour = row.inTermWindow ? settings.Seikicolor : settings.Daycolor;
        page.Text(labelFont, page.Ink(settings.MWcolor), {layout.monthLabelX, y}, MonthLabel(row, settings));
        page.Text(labelFont, page.Ink(row.inTermWindow ? settings.Seikicolor : settings.MWcolor),
                  {layout.weekLabelX, y}, WeekLabel(row, settings));
        page.Text(dayFont, page.Ink(row.isDueWeek ? settings.Yoteibicolor : dayColour), {layout.firstDayX, y},
                  RowDateText(row.startDate, sources.messages));
        page.Text(dayFont, page.Ink(dayColour), {layout.tildeX, y}, QStringLiteral("～"));
        if (settings.Shumatsucheck) {
            page.Text(dayFont, page.Ink(dayColour), {layout.lastDayX, y}, RowDateText(row.endDate, sources.messages));
        }
        if (settings.Noticecheck) {
            const Notice &notice = sources.notices.ForWeek(row.week);
            page.Text(noticeFont, page.Ink(notice.color), {layout.noticeX, y}, notice.text);
        }
    }

    // 9. Column rules, the one before the notices doubled.
    page.SetPen(Qt::black, layout.thinPen);
    for (const QLine &rule : layout.columnRules)
        page.Line(rule);

    // 10. Institution block.
    if (settings.Kikanmeicheck) {
        DrawPageBlock(painter, sheet, sources.block, settings.Colorcheck, sources.messages, sources.sounds);
    }
    return PageResult::Drawn;
}

} // namespace ralvo
