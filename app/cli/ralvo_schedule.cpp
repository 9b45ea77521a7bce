// ralvo-schedule: the pregnancy schedule from the command line, for scripted
// and batch use. The subcommands live in Subcommands.cpp and *Command.cpp.

#include "app/cli/Subcommands.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ralvo::cli::Console console;
    return ralvo::cli::RunCommandLine(QCoreApplication::arguments(), console);
}
