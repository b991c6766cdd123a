#include "alerts/log_toggle.h"

#include "shell/settings.h"

namespace veltra {

bool ToggleLogging(SettingsStore& store, bool logging) {
    const bool now = !logging;
    settings::WriteBooleanWord(store, "LogData", now);
    return now;
}

}  // namespace veltra
