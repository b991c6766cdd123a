#pragma once
// The recorder's two settings, "RecordDrives" and "DrivesLimitMB", as the
// recorder reads them at each drive's start and the settings dialog shows
// and writes them.

#include "platform/settings_store.h"

namespace veltra::recorder {

inline constexpr int kDefaultDrivesLimitMB = 200;
inline constexpr int kMaxDrivesLimitMB = 1000000;

// On unless stored as a clear 0: a mangled value keeps the drive.
bool RecordDrivesOn(const SettingsStore& store);
// 1 .. kMaxDrivesLimitMB; anything else reads as the default.
int DrivesLimitMB(const SettingsStore& store);

void WriteDriveSettings(SettingsStore& store, bool record, int limitMB);

}  // namespace veltra::recorder
