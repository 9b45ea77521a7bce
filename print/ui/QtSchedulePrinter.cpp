#include "print/ui/QtSchedulePrinter.h"

#include "platform/Platform.h"

#include <QPrinter>

namespace ralvo {

QtSchedulePrinter::QtSchedulePrinter(QPrinter &printer, platform::PrintDialogs &dialogs)
    : QtSchedulePrinter([&printer]() -> QPrinter & { return printer; }, dialogs)
{}

QtSchedulePrinter::QtSchedulePrinter(std::function<QPrinter &()> printer, platform::PrintDialogs &dialogs)
    : m_printer(std::move(printer)), m_dialogs(dialogs)
{}

QString QtSchedulePrinter::DocumentName() { return platform::ApplicationTitle() + QStringLiteral(" スケジュール表"); }

bool QtSchedulePrinter::SelectDefaultPrinter()
{
    // The default printer every time; a file chosen in an earlier dialog is
    // not used either.
    return platform::AimAtInstalledPrinter(Printer(), m_dialogs, false);
}

void QtSchedulePrinter::SetPaperSize(QPageSize::PageSizeId paper) { Printer().setPageSize(QPageSize(paper)); }

void QtSchedulePrinter::SetPortrait() { Printer().setPageOrientation(QPageLayout::Portrait); }

bool QtSchedulePrinter::ShowPrintDialog() { return m_dialogs.ExecPrintDialog(Printer()); }

PrinterSheet QtSchedulePrinter::Sheet() const
{
    const QRect paper = Printer().paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = Printer().pageRect(QPrinter::DevicePixel).toRect();
    PrinterSheet sheet;
    sheet.paperWidth = paper.width();
    sheet.paperHeight = paper.height();
    sheet.offsetX = page.x() - paper.x();
    sheet.offsetY = page.y() - paper.y();
    sheet.pageWidth = page.width();
    sheet.pageHeight = page.height();
    return sheet;
}

QPainter *QtSchedulePrinter::BeginDocument()
{
    Printer().setDocName(DocumentName());
    m_jobCheck.emplace(Printer());
    // Without an installed printer Qt falls back to a PDF file with no name,
    // which cannot begin; a printer that refuses the job fails here too.
    if (!m_painter.begin(&Printer()))
        return nullptr;
    return &m_painter;
}

bool QtSchedulePrinter::EndDocument()
{
    // The CUPS engine sends the job here and keeps quiet about a refusal.
    const bool ended = m_painter.end();
    const bool accepted = !m_jobCheck || m_jobCheck->Accepted();
    m_jobCheck.reset();
    return ended && accepted;
}

void QtSchedulePrinter::AbortDocument()
{
    // Qt's CUPS and PDF engines cannot abort: their page still goes out when
    // the painter ends. The command therefore checks its inputs before it
    // begins a document, and this is left for engines that can.
    Printer().abort();
    if (m_painter.isActive())
        m_painter.end();
}

} // namespace ralvo
