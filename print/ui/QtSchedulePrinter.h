#pragma once

// The print command's printer on Qt Print Support: the application's
// QPrinter (which prints through CUPS on Linux) and the platform's print
// dialog.

#include "print/SchedulePrinting.h"

#include "platform/qt/PrintJobs.h"

#include <QPainter>

#include <functional>
#include <optional>

class QPrinter;

namespace ralvo {

namespace platform {
class PrintDialogs;
}

class QtSchedulePrinter final : public SchedulePrinter
{
public:
    // Neither is owned; both must outlive this object.
    QtSchedulePrinter(QPrinter &printer, platform::PrintDialogs &dialogs);
    // The printer is asked for at each use, so that it can be made lazily.
    QtSchedulePrinter(std::function<QPrinter &()> printer, platform::PrintDialogs &dialogs);

    bool SelectDefaultPrinter() override;
    void SetPaperSize(QPageSize::PageSizeId paper) override;
    void SetPortrait() override;
    bool ShowPrintDialog() override;
    PrinterSheet Sheet() const override;
    QPainter *BeginDocument() override;
    bool EndDocument() override;
    void AbortDocument() override;

    QPrinter &Printer() const { return m_printer(); }

    // The name the schedule's print jobs carry.
    static QString DocumentName();

private:
    std::function<QPrinter &()> m_printer;
    platform::PrintDialogs &m_dialogs;
    QPainter m_painter;
    std::optional<platform::PrintJobCheck> m_jobCheck;
};

} // namespace ralvo
