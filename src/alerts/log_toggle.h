#pragma once
// The "&Log Alert Data" commands of both menus.

#include "platform/settings_store.h"

namespace veltra {

// Flips the logging switch, remembers it as "LogData" ("True"/"False") and
// returns the new state, which both menu items then show.
bool ToggleLogging(SettingsStore& store, bool logging);

}  // namespace veltra
