#pragma once

// The options shared by every subcommand that computes a schedule: the basis,
// the four input texts, the mother's name, setting overrides, the settings
// source and the output file.

#include "calc/DueDate.h"
#include "calc/UltrasoundDating.h"
#include "platform/Platform.h"
#include "settings/ScheduleSettings.h"
#include "settings/SettingsIO.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <variant>

namespace ralvo::cli {

// The measurement of a scan basis (--basis crl|bpd|ga), as typed.
struct ScanOptions
{
    ScanMeasure measure = ScanMeasure::CrownRumpLength;
    CrlMethod method = CrlMethod::Intergrowth21st; // --method, CRL only
    QString value;                                 // --crl MM, --bpd MM or --ga W+D

    friend bool operator==(const ScanOptions &, const ScanOptions &) = default;
};

// What the input options ask for. For a scan basis `input` holds the scan
// date in its date fields (and the basis 2, 超音波測定予定日, whose due date
// DateInput puts there); its cycle is 28 unless --cycle is given.
struct InputRequest
{
    CalculationInput input;
    std::optional<ScanOptions> scan;
};

// What the user asked for, before any computation.
struct ScheduleRequest
{
    CalculationInput input;          // basis and the four texts as typed
    std::optional<ScanOptions> scan; // with a scan basis: the measurement (see InputRequest)
    QString motherName;              // --name
    QStringList settingAssignments;  // every --set FIELD=VALUE, in order
    bool useDefaults = false;        // --defaults: start from the first-run settings
    QString settingsFile;            // --settings FILE: this store file instead of the user's
    QString outputFile;              // -o FILE; empty for standard output
};

// The basis as the command line names it: "0", "1", "2" (the window's three),
// "ivf3" or "ivf5" (transfer day of a day-3 or day-5 embryo); none otherwise.
std::optional<CalculationBasis> ParseBasisName(const QString &text);

// Declares the input options --basis, --year, --month, --day, --cycle, and
// the scan's --crl, --method, --bpd, --ga.
void AddInputOptions(QCommandLineParser &parser);

// Usage lines of the input options.
QString InputOptionsUsage();

// The input from a parsed command line, or a one-line reason why the input
// options are bad (a missing or repeated option, an unknown basis or CRL
// method, a measurement without its basis).
std::variant<InputRequest, QString> ReadInputOptions(const QCommandLineParser &parser);

// The schedule's input, and for a scan basis the scan it was dated by.
struct DatedInput
{
    CalculationInput input; // for a scan: basis 2 with the scan's due date in the date fields
    std::optional<UltrasoundScan> scan;
};

// Dates the scan of a scan basis and makes the schedule's input from it; any
// other input stays as it is. A one-line reason (exit status 2) when the scan
// date is not a date, the measurement is not a number with at most one
// decimal place within its method's range (the reason names the range), or
// the due date is out of reach.
std::variant<DatedInput, QString> DateInput(const CalculationInput &input, const std::optional<ScanOptions> &scan);

// Declares the input options and --name, --set, --defaults, --settings, -o.
void AddScheduleOptions(QCommandLineParser &parser);

// Usage lines of these options (after the subcommand's own synopsis).
QString ScheduleOptionsUsage();

// The request from a parsed command line, or a one-line reason why the options
// are bad (a missing option, an unknown basis).
std::variant<ScheduleRequest, QString> ReadScheduleOptions(const QCommandLineParser &parser);

// The same without the input options and --name, which must then be absent
// (the input comes from elsewhere, a batch file); `input` stays as made.
std::variant<ScheduleRequest, QString> ReadScheduleOptionsWithoutInput(const QCommandLineParser &parser);

// Why a request's records cannot be had.
struct RecordsRefusal
{
    QString reason;         // one line
    bool badOption = false; // a bad --set or a missing --settings file (a usage error); else a file that cannot be read
};

// The records the request runs with: those of the user's settings store (or
// of --settings FILE), read only, never written; the first-run defaults with
// --defaults; then every --set in order. Values the store cannot give are
// told through `messages` and take their first-run defaults, and so does a
// damaged user's store. A --settings file that is missing, is no regular
// file, cannot be read or is no store is refused with its reason, as is a
// bad --set. The institution block stays as its stored text: only the page
// draws it.
std::variant<StoredRecords, RecordsRefusal> ResolveStoredRecords(const ScheduleRequest &request,
                                                                 platform::Messages &messages);

// The files the tool reads that an output must never replace: the user's
// settings store (the tool never writes it, whether it reads it or not) and
// the --settings file.
QStringList ReadFilesOf(const ScheduleRequest &request);

// The one-line Japanese reason why the calculation refuses this input (call it
// only after the calculation failed).
QString InputRefusalMessage(const CalculationInput &input);

} // namespace ralvo::cli
