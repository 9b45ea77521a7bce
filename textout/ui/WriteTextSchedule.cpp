#include "textout/ui/WriteTextSchedule.h"

#include "textout/TextSchedule.h"
#include "textout/ui/TextEditorForm.h"

namespace ralvo::textout {

bool WriteTextSchedule(const CalculationInput &input, const QString &motherName, const ScheduleSettings &settings,
                       const platform::Services &services, TTextEditorForm &editor)
{
    const std::optional<QStringList> lines = TextScheduleLines(input, motherName, settings, *services.messages);
    if (!lines) {
        services.sounds->Beep();
        return false;
    }
    editor.SetLines(*lines);
    editor.SetCaption(ScheduleTextCaption());
    editor.ShowModal();
    return true;
}

} // namespace ralvo::textout
