#pragma once

#include "calc/DueDate.h"
#include "platform/Platform.h"
#include "settings/ScheduleSettings.h"

#include <QString>

namespace ralvo::textout {

class TTextEditorForm;

// Caption of the editor after the text output.
inline QString ScheduleTextCaption() { return QStringLiteral("出産までのスケジュール"); }

// The text output command: builds the text schedule of the main window's
// inputs and shows it in the editor, modally; returns when the editor has
// closed. On input that is not a whole number it sounds the default beep and
// shows nothing. Returns whether the editor was shown.
bool WriteTextSchedule(const CalculationInput &input, const QString &motherName, const ScheduleSettings &settings,
                       const platform::Services &services, TTextEditorForm &editor);

} // namespace ralvo::textout
