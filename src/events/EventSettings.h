#pragma once

#include "events/EventStore.h"

namespace ui {
class SettingsStore;
}

namespace events {

// [Events] KeepDays and MaxMB of the settings; a key missing, not a whole
// number or not above zero keeps its default (90 days, 200 MB).
EventLimits eventLimits(const ui::SettingsStore &settings);

// [Events] Enabled=false keeps no log at all (a site that may keep none);
// anything else, or nothing, keeps it.
bool eventLogEnabled(const ui::SettingsStore &settings);

} // namespace events
