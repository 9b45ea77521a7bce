#pragma once

// The stored values of ScheduleSettings as one table: name, kind, the field
// it fills, and for integers the range of meaningful values. Loading, saving
// and the command line's overrides walk this table, so no value can be missed
// in one of them. The first-run default of each row is the initialiser of its
// field in ScheduleSettings.

#include "settings/ScheduleSettings.h"

#include <QString>

#include <limits>
#include <span>
#include <variant>

namespace ralvo {

enum class SettingKind { Text, Integer, Boolean, ColourValue, Font };

using SettingMember = std::variant<QString ScheduleSettings::*, int ScheduleSettings::*, bool ScheduleSettings::*,
                                   Colour ScheduleSettings::*>;

struct SettingField
{
    const char16_t *name;
    SettingKind kind;
    SettingMember member;
    int minimum = std::numeric_limits<int>::min(); // integers: a stored value outside
    int maximum = std::numeric_limits<int>::max(); // the range means the default

    QString Name() const { return QString::fromUtf16(name); }
};

// Every value under SetData, in the order they are written.
std::span<const SettingField> ScheduleSettingFields();

// The same rows in the order they are read: Notfont before Daycolor.
std::span<const SettingField *const> ScheduleSettingFieldsInReadOrder();

} // namespace ralvo
