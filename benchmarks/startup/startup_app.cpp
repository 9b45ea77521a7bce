// The application's start-up as app/main.cpp does it, ending as soon as the
// main window is shown. Timed by scripts/startup-bench.py.

#include "app/ui/Application.h"
#include "app/ui/RalvoMainForm.h"
#include "benchmarks/startup/ExitWhenShown.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApplication(argc, argv);
    ralvo::Application application;
    const ralvo::bench::ExitWhenShown exitWhenShown(application.MainForm());
    return application.Run();
}
