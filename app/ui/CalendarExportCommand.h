#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

namespace ralvo {

struct AppRecords;
class TRalvoMainForm;
namespace platform {
struct Services;
}

// The main window's calendar export (MainCommands::exportCalendar): the
// fields as they are when it runs, the records' labels and notices, the
// save dialog and the messages of `services`, the file written by `write`
// and stamped with `now()`.
std::function<void()> CalendarExportCommand(const TRalvoMainForm &form, const AppRecords &records,
                                            const platform::Services &services,
                                            std::function<bool(const QString &, const QByteArray &)> write,
                                            std::function<QDateTime()> now);

} // namespace ralvo
