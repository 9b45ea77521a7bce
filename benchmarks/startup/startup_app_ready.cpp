// The application's start-up as app/main.cpp does it, ending once all eleven
// windows exist: the main window painted, then the ten made after it.
// Timed by scripts/startup-bench.py and scripts/process-bench.py.

#include "app/ui/Application.h"
#include "app/ui/PregnancyCalendarForm.h"
#include "app/ui/RalvoMainForm.h"
#include "benchmarks/startup/ExitWhenShown.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApplication(argc, argv);
    ralvo::Application application;
    const ralvo::TRalvoMainForm &mainForm = application.MainForm();
    // The pregnancy calendar is made last.
    const ralvo::bench::ExitWhenShown exitWhenReady(
        mainForm, [&mainForm] { return mainForm.findChild<ralvo::TPregnancyCalendarForm *>(); });
    return application.Run();
}
