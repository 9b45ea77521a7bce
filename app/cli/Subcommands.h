#pragma once

// The subcommands of ralvo-schedule. Each declares its options, its usage and
// what it runs; RunCommandLine picks one by the first argument.

#include "app/cli/Console.h"
#include "app/cli/ScheduleOptions.h"

#include <QCommandLineParser>
#include <QString>

#include <vector>

namespace ralvo::cli {

struct Subcommand
{
    QString name;                                   // first argument, "text"
    QString synopsis;                               // usage line(s) without options
    QString optionsUsage;                           // usage of its options
    void (*addOptions)(QCommandLineParser &parser); // declares its options
    // Exit status. None for a subcommand that draws pages outside the
    // drawing program (DrawingCommands.h), which links what draws them.
    int (*run)(const QCommandLineParser &parser, Console &console);
    bool drawsPages = false; // needs fonts and painting: the drawing program, a QGuiApplication
};

// Every subcommand, in usage order; "page" without its drawing.
std::vector<Subcommand> Subcommands();

// The "text" subcommand: the schedule as the text editor saves it.
Subcommand TextSubcommand();

// The "page" subcommand: the printed page as a PDF or PNG file (its options
// and usage; DrawingSubcommands() gives it with its drawing).
Subcommand PageSubcommand();

// The "calendar" subcommand: the pregnancy calendar page as a PDF or PNG
// file (its options and usage; drawn by the drawing program, as "page").
Subcommand CalendarSubcommand();

// The "dates" subcommand: the dates as labelled lines or JSON.
Subcommand DatesSubcommand();

// The "ics" subcommand: the schedule as an iCalendar file.
Subcommand IcsSubcommand();

// The whole usage text.
QString UsageText();

// Writes the reason (when there is one) and the usage to standard error;
// returns the bad-option exit status.
int UsageError(Console &console, const QString &reason);

// A schedule request read from a parsed command line, with the records it
// runs with (see ResolveStoredRecords).
struct ScheduleRun
{
    ScheduleRequest request; // its input dated: for a scan basis, basis 2 with the scan's due date
    StoredRecords records;
    std::optional<UltrasoundScan> scan; // the scan of a scan basis
};

// The request and its records; on bad options the reason and the usage are
// told (UsageError) and its exit status is given instead, as it is for an
// output onto a file the run reads (CheckOutputIsNoInput); on a scan that
// cannot be dated (DateInput) the reason alone, with the input-refused
// status. What the store cannot give is told through `messages`.
std::variant<ScheduleRun, int> ReadScheduleRun(const QCommandLineParser &parser, Console &console,
                                               platform::Messages &messages);

// ExitUsage after telling why (one line) when `output` would replace one
// of `inputs` (see OutputOntoInputReason); ExitOk otherwise.
int CheckOutputIsNoInput(Console &console, const QString &output, const QStringList &inputs);

// Tells why the records cannot be had: the reason and the usage for a bad
// option (UsageError), the reason alone otherwise. Returns the exit status.
int RefuseRecords(Console &console, const RecordsRefusal &refusal);

// The process's arguments, program name first, as the command line reads
// them (in the locale's encoding).
QStringList CommandLineArguments(int argc, char **argv);

// Whether the subcommand the arguments (program name first) name draws
// pages, and so runs in the drawing program on a QGuiApplication rather than
// on a QCoreApplication.
bool NeedsGuiApplication(const QStringList &arguments);

// Parses the arguments (program name first) and runs the chosen one of
// `commands`.
int RunCommandLine(const QStringList &arguments, Console &console,
                   const std::vector<Subcommand> &commands = Subcommands());

} // namespace ralvo::cli
