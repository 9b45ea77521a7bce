#pragma once

// The options shared by every subcommand that computes a schedule: the basis,
// the four input texts, the mother's name, setting overrides, the settings
// source and the output file.

#include "calc/DueDate.h"
#include "platform/Platform.h"
#include "settings/ScheduleSettings.h"
#include "settings/SettingsIO.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <variant>

namespace ralvo::cli {

// What the user asked for, before any computation.
struct ScheduleRequest
{
    CalculationInput input;          // basis and the four texts as typed
    QString motherName;              // --name
    QStringList settingAssignments;  // every --set FIELD=VALUE, in order
    bool useDefaults = false;        // --defaults: start from the first-run settings
    QString settingsFile;            // --settings FILE: this store file instead of the user's
    QString outputFile;              // -o FILE; empty for standard output
};

// Declares --basis, --year, --month, --day, --cycle, --name, --set, --defaults,
// --settings, -o.
void AddScheduleOptions(QCommandLineParser &parser);

// Usage lines of these options (after the subcommand's own synopsis).
QString ScheduleOptionsUsage();

// The request from a parsed command line, or a one-line reason why the options
// are bad (a missing option, a basis other than 0, 1 or 2).
std::variant<ScheduleRequest, QString> ReadScheduleOptions(const QCommandLineParser &parser);

// The settings the request runs with: those of the user's settings store (or
// of --settings FILE), read only, never written; the first-run defaults with
// --defaults; then every --set in order. Values the store cannot give are
// told through `messages` and take their first-run defaults. A one-line
// reason on a bad --set or a missing --settings file.
std::variant<ScheduleSettings, QString> ResolveScheduleSettings(const ScheduleRequest &request,
                                                                platform::Messages &messages);

// The same for every record a page needs: settings, notices and the
// institution block.
std::variant<AppRecords, QString> ResolveScheduleRecords(const ScheduleRequest &request,
                                                         platform::Messages &messages);

// The one-line Japanese reason why the calculation refuses this input (call it
// only after the calculation failed).
QString InputRefusalMessage(const CalculationInput &input);

} // namespace ralvo::cli
