#pragma once

// Overriding single fields of the schedule settings by their stored names, as
// the command line's "--set FIELD=VALUE" does.

#include "settings/ScheduleSettings.h"

#include <QString>
#include <QStringList>

namespace ralvo::cli {

// The stored names of every ScheduleSettings field, in stored order.
QStringList ScheduleSettingNames();

// Sets one field from "FIELD=VALUE". FIELD is a stored name (`Tit`,
// `Yoteiyogo`, …, matched without regard to case). Texts and font names take
// VALUE as it is; integers take a decimal 32-bit number within the field's
// meaningful range (Yoteiyogo 0 or 1, Yoshi and Hani 0 to 2); booleans 0 or 1 (any
// other integer also counts as true, as in the store); colours a number
// 0x00BBGGRR, decimal or hexadecimal with "0x". Returns an empty text on
// success, otherwise a one-line Japanese reason, and leaves the settings
// unchanged.
QString ApplySettingAssignment(ScheduleSettings &settings, const QString &assignment);

// Applies every assignment in order; stops at the first error and returns it.
QString ApplySettingAssignments(ScheduleSettings &settings, const QStringList &assignments);

} // namespace ralvo::cli
