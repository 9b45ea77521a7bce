// ralvo-schedule: the pregnancy schedule from the command line, for scripted
// and batch use. The subcommands live in Subcommands.cpp and *Command.cpp.

#include "app/cli/Subcommands.h"

#include <QGuiApplication>

int main(int argc, char **argv)
{
    // Drawing the page needs fonts but never a window: run without a display
    // unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ralvo::cli::Console console;
    return ralvo::cli::RunCommandLine(QCoreApplication::arguments(), console);
}
