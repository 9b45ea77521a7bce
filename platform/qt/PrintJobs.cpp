#include "platform/qt/PrintJobs.h"
#include "platform/Platform.h"
#include "platform/qt/LoadedLibrary.h"

#include <QPrinter>

#include <cups/cups.h>
#include <dlfcn.h>

#include <algorithm>

namespace ralvo::platform {

namespace {

// libcups, loaded when a print job is first checked rather than mapped (with
// the dozen libraries it brings) at every start. Qt's print plug-in, which
// submits the job, uses the same loaded library, so the last request's
// status below is that of the submission.
struct Cups
{
    int (*getJobs)(http_t *http, cups_job_t **jobs, const char *name, int myjobs, int whichjobs) = nullptr;
    void (*freeJobs)(int count, cups_job_t *jobs) = nullptr;
    ipp_status_t (*lastError)() = nullptr;
};

// The library's functions, or none when it cannot be loaded.
const Cups *LoadedCups()
{
    static const Cups loaded = [] {
        Cups functions;
        void *library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return functions;
        if (!Resolve(library, "cupsGetJobs2", functions.getJobs)
            || !Resolve(library, "cupsFreeJobs", functions.freeJobs)
            || !Resolve(library, "cupsLastError", functions.lastError))
            return Cups{};
        return functions;
    }();
    return loaded.getJobs ? &loaded : nullptr;
}

// The jobs the scheduler lists for `queue` (every queue when null), only
// this user's when `mine`; none when it cannot be asked.
struct JobList
{
    cups_job_t *jobs = nullptr;
    int count = 0;
    JobList(const char *queue, int mine)
    {
        if (const Cups *cups = LoadedCups())
            count = cups->getJobs(CUPS_HTTP_DEFAULT, &jobs, queue, mine, CUPS_WHICHJOBS_ALL);
    }
    ~JobList()
    {
        if (jobs)
            LoadedCups()->freeJobs(std::max(count, 0), jobs);
    }
    JobList(const JobList &) = delete;
    JobList &operator=(const JobList &) = delete;
};

} // namespace

PrintJobCheck::PrintJobCheck(const QPrinter &printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty())
        return;
    // A "queue/instance" name prints to the queue.
    m_queue = printer.printerName().section(u'/', 0, 0).toLocal8Bit();
    const JobList list(nullptr, 0);
    for (int i = 0; i < list.count; ++i)
        m_newestJob = std::max(m_newestJob, list.jobs[i].id);
}

bool PrintJobCheck::Accepted() const
{
    if (m_queue.isEmpty())
        return true;
    // The engine's submission was the last request of this thread; an
    // error status there means the job was not created or not completed.
    const Cups *cups = LoadedCups();
    if (cups && cups->lastError() > IPP_STATUS_OK_EVENTS_COMPLETE)
        return false;
    const JobList list(m_queue.constData(), 1);
    const cups_job_t *job = nullptr;
    for (int i = 0; i < list.count; ++i) {
        if (list.jobs[i].id > m_newestJob && (!job || list.jobs[i].id > job->id))
            job = &list.jobs[i];
    }
    // No job to look at (history not kept, scheduler not answering): the
    // submission's own status above is all there is.
    if (!job)
        return true;
    return job->state != IPP_JSTATE_ABORTED && job->state != IPP_JSTATE_CANCELED;
}

bool AimAtInstalledPrinter(QPrinter &printer, const PrintDialogs &dialogs, bool keepChosen)
{
    const QStringList printers = dialogs.AvailablePrinters();
    if (printers.isEmpty())
        return false;
    // A file is a destination of its own; a queue counts while it is installed.
    const bool onChosen =
        !printer.outputFileName().isEmpty()
        || (printer.outputFormat() == QPrinter::NativeFormat && printers.contains(printer.printerName()));
    if (keepChosen && onChosen)
        return true;
    QString name = dialogs.DefaultPrinter();
    if (!printers.contains(name))
        name = printers.constFirst();
    printer.setOutputFileName(QString());
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(name);
    return true;
}

} // namespace ralvo::platform
