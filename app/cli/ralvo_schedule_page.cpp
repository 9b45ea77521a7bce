// The drawing program of ralvo-schedule: runs the command lines whose
// subcommand draws pages (page), which ralvo-schedule hands over to it with
// the same arguments. It links Qt Gui, the fonts and the page's drawing.

#include "app/cli/Console.h"
#include "app/cli/DrawingCommands.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

int main(int argc, char **argv)
{
    const QStringList arguments = ralvo::cli::CommandLineArguments(argc, argv);

    ralvo::cli::SilenceQtMessages();
    // Qt never sees the user's arguments (a platform plugin would take
    // options such as --name or -reverse as its own), and pages are drawn
    // offscreen whatever platform the environment names: the tool never
    // needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static char programName[] = "ralvo-schedule";
    static char *qtArgv[] = {programName, nullptr};
    static int qtArgc = 1;
    std::unique_ptr<QCoreApplication> app;
    if (ralvo::cli::NeedsGuiApplication(arguments))
        app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
    else
        app = std::make_unique<QCoreApplication>(qtArgc, qtArgv);
    ralvo::cli::Console console;
    return ralvo::cli::RunCommandLine(arguments, console, ralvo::cli::DrawingSubcommands());
}
