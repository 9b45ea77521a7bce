#pragma once

// A printer for the print command that records what it is asked, draws its
// page on a recording device, and can be told to be missing, to have its
// dialog cancelled, or to refuse the job.

#include "print/SchedulePrinting.h"
#include "support/RecordingPaintDevice.h"

#include <QPainter>
#include <QStringList>

#include <memory>
#include <optional>

namespace ralvo::test {

// A printer that records what the command asks of it.
class FakeSchedulePrinter final : public SchedulePrinter
{
public:
    bool installed = true;
    bool acceptDialog = true;
    bool refuseBegin = false;
    bool failEnd = false;
    PrinterSheet sheet{4960, 7016, 100, 100, 4760, 6816};

    QStringList calls;
    std::optional<QPageSize::PageSizeId> paper;
    std::unique_ptr<RecordingPaintDevice> page;
    int openDocuments = 0;

    bool SelectDefaultPrinter() override
    {
        calls << QStringLiteral("select");
        return installed;
    }
    void SetPaperSize(QPageSize::PageSizeId p) override
    {
        calls << QStringLiteral("paper");
        paper = p;
    }
    void SetPortrait() override { calls << QStringLiteral("portrait"); }
    bool ShowPrintDialog() override
    {
        calls << QStringLiteral("dialog");
        return acceptDialog;
    }
    PrinterSheet Sheet() const override { return sheet; }
    QPainter *BeginDocument() override
    {
        calls << QStringLiteral("begin");
        if (refuseBegin)
            return nullptr;
        page = std::make_unique<RecordingPaintDevice>(sheet.pageWidth, sheet.pageHeight);
        m_painter = std::make_unique<QPainter>(page.get());
        ++openDocuments;
        return m_painter.get();
    }
    bool EndDocument() override
    {
        calls << QStringLiteral("end");
        m_painter.reset();
        --openDocuments;
        return !failEnd;
    }
    void AbortDocument() override
    {
        calls << QStringLiteral("abort");
        m_painter.reset();
        --openDocuments;
    }

private:
    std::unique_ptr<QPainter> m_painter;
};

} // namespace ralvo::test
