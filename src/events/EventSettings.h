#pragma once

#include "events/EventStore.h"

namespace ui {
class SettingsStore;
}

namespace events {

// [Events] KeepDays and MaxMB of the settings; a key missing, not a whole
// number or not above zero keeps its default (90 days, 200 MB).
EventLimits eventLimits(const ui::SettingsStore &settings);

} // namespace events
