#include "app/ui/CalendarExportCommand.h"

#include "app/ui/RalvoMainForm.h"
#include "records/AppRecords.h"
#include "textout/CalendarExport.h"

namespace ralvo {

std::function<void()> CalendarExportCommand(const TRalvoMainForm &form, const AppRecords &records,
                                            const platform::Services &services,
                                            std::function<bool(const QString &, const QByteArray &)> write,
                                            std::function<QDateTime()> now)
{
    return [&form, &records, services, write = std::move(write), now = std::move(now)] {
        const CalendarExportSources sources{form.Input(), form.MotherName(), records.settings, records.notices, now()};
        ExportScheduleCalendar(sources, services, write);
    };
}

} // namespace ralvo
