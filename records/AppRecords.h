#pragma once

// The application-wide records, loaded from and saved to the per-user
// settings store.

#include "kikanmei/KikanmeiBlock.h"
#include "settings/SettingsIO.h"

namespace ralvo {

// The records that exist once for the whole run.
struct AppRecords
{
    ScheduleSettings settings;
    NoticeTable notices = DefaultNoticeTable();
    KikanmeiBlock block;
};

// Fills the records from the store and writes the last input into the main
// window's fields (firing their change handling). Missing keys give the
// first-run defaults (today's date from services.clock for the date fields);
// a value that cannot be read is reported through services.messages and its
// field takes its first-run default. A store file that could not be read is
// reported first, once.
void LoadSettings(store::SettingsStore &store, AppRecords &records, LastInputFields &fields,
                  const platform::Services &services);

// Writes all four keys and saves the store file. Returns false when the save
// stopped (a date or cycle field holding no integer, or a store that refuses
// to be written), after telling the user; the main window must then stay
// open. What was written before a bad field is kept.
bool SaveSettings(store::SettingsStore &store, const AppRecords &records, const LastInputFields &fields,
                  const platform::Services &services);

} // namespace ralvo
