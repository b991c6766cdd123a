#include "recorder/drive_settings.h"

#include <string>

#include "shell/settings.h"

namespace veltra::recorder {

bool RecordDrivesOn(const SettingsStore& store) {
    const auto text = store.value(kSettingsSection, "RecordDrives");
    if (!text) {
        return true;
    }
    const auto n = settings::ParseNumber(*text);
    return !(n && *n == 0);
}

int DrivesLimitMB(const SettingsStore& store) {
    const auto text = store.value(kSettingsSection, "DrivesLimitMB");
    const auto n = text ? settings::ParseNumber(*text) : std::nullopt;
    if (!n || *n < 1 || *n > kMaxDrivesLimitMB) {
        return kDefaultDrivesLimitMB;
    }
    return static_cast<int>(*n);
}

void WriteDriveSettings(SettingsStore& store, bool record, int limitMB) {
    store.setValue(kSettingsSection, "RecordDrives", record ? "1" : "0");
    store.setValue(kSettingsSection, "DrivesLimitMB", std::to_string(limitMB));
}

}  // namespace veltra::recorder
