#pragma once

// The records a command-line run draws with: the user's settings, notices
// and institution block from the settings store (read only, never written),
// or the first-run records with --defaults; then every --set.

#include "app/cli/Console.h"
#include "app/cli/ScheduleOptions.h"
#include "settings/SettingsIO.h"

#include <variant>

namespace ralvo::cli {

// The records, or a one-line reason why a --set is bad. Problems reading the
// store are told on standard error and the first-run values are used.
std::variant<AppRecords, QString> ResolveRecords(const ScheduleRequest &request, Console &console);

} // namespace ralvo::cli
