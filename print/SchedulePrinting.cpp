#include "print/SchedulePrinting.h"

#include "print/PageGeometry.h"
#include "records/AppRecords.h"

namespace ralvo {

std::optional<QPageSize::PageSizeId> PaperForYoshi(int yoshi)
{
    switch (yoshi) {
    case 0:
        return QPageSize::JisB5;
    case 1:
        return QPageSize::A4;
    default:
        return std::nullopt;
    }
}

bool MarginsExceedPage(const PrinterSheet &sheet)
{
    const double width = sheet.paperWidth;
    const double height = sheet.paperHeight;
    const int right = sheet.paperWidth - sheet.offsetX - sheet.pageWidth;
    const int bottom = sheet.paperHeight - sheet.offsetY - sheet.pageHeight;
    return sheet.offsetX / width > page::kTableLeft || sheet.offsetY / height > page::kTitleTop
           || right / width > page::kTableLeft || bottom / height > page::kTitleTop;
}

platform::Messages::Question MarginsQuestion()
{
    platform::Messages::Question q;
    q.caption = QStringLiteral("警告");
    q.text = QStringLiteral("プリンタの印刷可能領域を\nこえる可能性があります。\n印刷しますか？");
    q.icon = platform::Messages::Icon::Warning;
    q.buttons = platform::Messages::Buttons::YesNo;
    q.defaultAnswer = platform::Messages::Answer::Yes;
    return q;
}

QString NoPrinterMessage()
{
    return QStringLiteral("プリンタが見つかりません。\nプリンタを設定してから印刷してください。\n"
                          "プリンタがなくても、「PDFファイルに保存」でスケジュール表をPDFファイルに保存できます。");
}

QString PrintRefusedMessage() { return platform::PrintRefusedMessage(); }

PrintResult PrintSchedule(SchedulePrinter &printer, const PageSources &sources)
{
    return PrintPage(printer, sources, PageSchedule(sources.settings, sources.fields).has_value(), DrawSchedulePage);
}

PrintResult PrintPage(SchedulePrinter &printer, const PageSources &sources, bool readable, const PageDrawing &draw)
{
    if (!printer.SelectDefaultPrinter()) {
        sources.messages.ShowMessage(NoPrinterMessage());
        return PrintResult::NoPrinter;
    }
    if (const auto paper = PaperForYoshi(sources.settings.Yoshi))
        printer.SetPaperSize(*paper);
    printer.SetPortrait();
    if (!printer.ShowPrintDialog())
        return PrintResult::Cancelled;

    // The user may have changed printer, paper or orientation in the dialog.
    const PrinterSheet sheet = printer.Sheet();
    if (sheet.paperWidth <= 0 || sheet.paperHeight <= 0) {
        sources.messages.ShowMessage(PrintRefusedMessage());
        return PrintResult::Refused;
    }
    if (MarginsExceedPage(sheet)) {
        sources.sounds.Exclamation();
        if (sources.messages.Ask(MarginsQuestion()) != platform::Messages::Answer::Yes)
            return PrintResult::Declined;
    }

    // A begun job cannot always be taken back (a print engine may send the
    // page when its painter ends, abort or not), so inputs the page cannot
    // read stop the command before any document exists, with the drawing's
    // beep.
    if (!readable) {
        sources.sounds.Beep();
        return PrintResult::InputFailure;
    }

    QPainter *surface = printer.BeginDocument();
    if (!surface) {
        sources.messages.ShowMessage(PrintRefusedMessage());
        return PrintResult::Refused;
    }
    PageTarget target;
    target.surface = surface;
    target.paperWidth = sheet.paperWidth;
    target.paperHeight = sheet.paperHeight;
    target.offsetX = sheet.offsetX;
    target.offsetY = sheet.offsetY;
    target.thinLineWidth = page::PrinterThinLineWidth(sheet.paperWidth);
    target.paperOutline = false;
    if (draw(target, sources) == PageResult::InputFailure) {
        printer.AbortDocument();
        return PrintResult::InputFailure;
    }
    if (!printer.EndDocument()) {
        sources.messages.ShowMessage(PrintRefusedMessage());
        return PrintResult::Refused;
    }
    return PrintResult::Printed;
}

PrintResult PrintSchedule(SchedulePrinter &printer, AppRecords &records, const LastInputFields &fields,
                          const platform::Services &services)
{
    const PageSources sources{records.settings, records.notices,    records.block,
                              fields,           *services.messages, *services.sounds};
    return PrintSchedule(printer, sources);
}

} // namespace ralvo
