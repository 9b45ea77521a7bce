#pragma once

// Loading and saving the application-wide records through the per-user
// settings store.

#include "platform/Platform.h"
#include "settings/LastInputFields.h"
#include "settings/ScheduleSettings.h"

#include <QString>

#include <optional>

namespace ralvo {

namespace store {
class SettingsStore;
}

// What the store keeps of the records that exist once for the whole run; the
// institution block as its stored text (records/AppRecords.h reads it).
struct StoredRecords
{
    ScheduleSettings settings;
    NoticeTable notices = DefaultNoticeTable();
    std::optional<QString> blockText; // "EditStr"; none when the store has none
};

// The four keys under the current user's root.
namespace store_keys {
inline QString SetData() { return QStringLiteral("\\Software\\Quenda\\Ralvo\\2.0\\SetData"); }
inline QString NoticeSetData() { return QStringLiteral("\\Software\\Quenda\\Ralvo\\2.0\\NoticeSetData"); }
inline QString LastData() { return QStringLiteral("\\Software\\Quenda\\Ralvo\\2.0\\LastData"); }
inline QString KikanmeiData() { return QStringLiteral("\\Software\\Quenda\\Ralvo\\2.0\\KikanmeiData"); }
} // namespace store_keys

// Fills the records from the store and writes the last input into the main
// window's fields (firing their change handling); see LoadSettings. Missing keys give the
// first-run defaults (today's date from services.clock for the date fields);
// a value that cannot be read is reported through services.messages and its
// field takes its first-run default. A store file that could not be read is
// reported first, once.
void LoadStoredRecords(store::SettingsStore &store, StoredRecords &records, LastInputFields &fields,
                       const platform::Services &services);

// Writes all four keys and saves the store file. Returns false when the save
// stopped (a date or cycle field holding no integer, or a store that refuses
// to be written), after telling the user; the main window must then stay
// open. What was written before a bad field is kept.
bool SaveStoredRecords(store::SettingsStore &store, const StoredRecords &records, const LastInputFields &fields,
                       const platform::Services &services);

} // namespace ralvo
