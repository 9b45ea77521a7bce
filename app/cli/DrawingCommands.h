#pragma once

// The subcommands that draw pages, as the drawing program runs them. They
// need Qt Gui, fonts and the page's drawing; ralvo-schedule itself links
// none of that and hands such a command line over to the drawing program.

#include "app/cli/Subcommands.h"

#include <vector>

namespace ralvo::cli {

// Every subcommand, those that draw pages included: give it to
// RunCommandLine.
std::vector<Subcommand> DrawingSubcommands();

} // namespace ralvo::cli
