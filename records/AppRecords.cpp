#include "records/AppRecords.h"

namespace ralvo {

void LoadSettings(store::SettingsStore &store, AppRecords &records, LastInputFields &fields,
                  const platform::Services &services)
{
    StoredRecords stored;
    LoadStoredRecords(store, stored, fields, services);
    records.settings = stored.settings;
    records.notices = stored.notices;
    records.block = stored.blockText ? KikanmeiBlock::FromText(*stored.blockText) : KikanmeiBlock();
}

bool SaveSettings(store::SettingsStore &store, const AppRecords &records, const LastInputFields &fields,
                  const platform::Services &services)
{
    const StoredRecords stored{records.settings, records.notices, records.block.ToText()};
    return SaveStoredRecords(store, stored, fields, services);
}

} // namespace ralvo
