#pragma once
// Which device a port number stands for: the settings section "Ports" maps
// "COM<n>" to a device path; without an entry, port n is /dev/ttyS<n-1>.

#include <string>

#include "platform/settings_store.h"

namespace veltra {

// The key of port n in the "Ports" section: "COM<n>".
std::string PortsKey(int number);
// The device path of port n. An entry that is blank counts as absent.
std::string DevicePathFor(const SettingsStore& store, int number);

}  // namespace veltra
