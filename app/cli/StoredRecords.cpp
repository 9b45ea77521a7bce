#include "app/cli/StoredRecords.h"

#include "app/cli/SettingOverrides.h"
#include "platform/SettingsStore.h"

namespace ralvo::cli {

std::variant<AppRecords, QString> ResolveRecords(const ScheduleRequest &request, Console &console)
{
    AppRecords records;
    if (!request.useDefaults) {
        platform::SettingsStore store =
            platform::SettingsStore::OpenUserStore(platform::SettingsStore::Access::ReadOnly);
        ConsoleMessages messages(console);
        platform::Services services;
        services.messages = &messages;
        PlainInputFields lastInput; // the command line gives the input itself
        LoadSettings(store, records, lastInput, services);
    }
    const QString error = ApplySettingAssignments(records.settings, request.settingAssignments);
    if (!error.isEmpty())
        return error;
    return records;
}

} // namespace ralvo::cli
