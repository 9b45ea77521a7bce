// ralvo-schedule: the pregnancy schedule from the command line, for scripted
// and batch use. The subcommands live in Subcommands.cpp and *Command.cpp.
//
// This program links Qt Core and the logic only, so that text, dates and ics
// start as fast as any console program. A subcommand that draws pages is
// handed over, with the same arguments, to the drawing program
// (ralvo_schedule_page.cpp), installed in the library folder for programs.

#include "app/cli/Console.h"
#include "app/cli/Subcommands.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

// The drawing program, found from this program's own file: the same relative
// place in the build tree and once installed.
std::string DrawingProgramPath()
{
    std::string self(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (length <= 0)
        return RALVO_DRAWING_PROGRAM;
    self.resize(std::size_t(length));
    return self.substr(0, self.rfind('/') + 1) + RALVO_DRAWING_PROGRAM;
}

// Runs the drawing program in this process with the same arguments and
// environment; returns only when it cannot be started.
int HandOverToDrawingProgram(char **argv)
{
    const std::string program = DrawingProgramPath();
    std::fflush(nullptr);
    execv(program.c_str(), argv);
    const int error = errno;
    std::fprintf(stderr, "ページを描くプログラム %s を起動できません: %s\n", program.c_str(), std::strerror(error));
    return ralvo::cli::ExitUnavailable;
}

} // namespace

int main(int argc, char **argv)
{
    const QStringList arguments = ralvo::cli::CommandLineArguments(argc, argv);
    if (ralvo::cli::NeedsGuiApplication(arguments))
        return HandOverToDrawingProgram(argv);

    ralvo::cli::SilenceQtMessages();
    // Qt never sees the user's arguments.
    static char programName[] = "ralvo-schedule";
    static char *qtArgv[] = {programName, nullptr};
    static int qtArgc = 1;
    const QCoreApplication app(qtArgc, qtArgv);
    ralvo::cli::Console console;
    return ralvo::cli::RunCommandLine(arguments, console);
}
