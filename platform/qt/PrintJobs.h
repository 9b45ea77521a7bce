#pragma once

// Whether a CUPS queue took the job of a document printed through QPrinter.
// Qt's CUPS engine hands the document to the scheduler when its painter
// ends and drops the answer, so a queue that refuses the job (stopped,
// rejecting, gone) would look like success. The check asks the scheduler
// itself: the status of the last request this thread made (the engine's
// submission) and the state of the job it left.

#include <QByteArray>

class QPrinter;

namespace ralvo::platform {

class PrintDialogs;

// Points `printer` at a printer installed now, asking the platform each time
// (a queue may have appeared or gone since the last print). With
// `keepChosen`, a queue the printer already names stays while it is
// installed, and so does a file it prints into; otherwise, and without
// `keepChosen`, the default printer, else the first, and a file chosen
// before is dropped. False, the printer unchanged, when none is installed.
bool AimAtInstalledPrinter(QPrinter &printer, const PrintDialogs &dialogs, bool keepChosen);

class PrintJobCheck
{
public:
    // To be made before the document begins: notes the newest job the
    // scheduler knows, so that the document's own job can be told apart.
    explicit PrintJobCheck(const QPrinter &printer);

    // To be asked in the same thread right after the document ended. False
    // when the document went to a CUPS queue and the scheduler refused it,
    // or aborted or cancelled its job at once. Always true for PDF output.
    bool Accepted() const;

private:
    QByteArray m_queue; // empty: not printed through a CUPS queue
    int m_newestJob = 0;
};

} // namespace ralvo::platform
