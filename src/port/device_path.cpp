#include "port/device_path.h"

#include <cctype>

namespace veltra {

std::string PortsKey(int number) {
    return "COM" + std::to_string(number);
}

std::string DevicePathFor(const SettingsStore& store, int number) {
    if (auto stored = store.value(kPortsSection, PortsKey(number))) {
        std::string_view path = *stored;
        while (!path.empty() && std::isspace(static_cast<unsigned char>(path.front()))) {
            path.remove_prefix(1);
        }
        while (!path.empty() && std::isspace(static_cast<unsigned char>(path.back()))) {
            path.remove_suffix(1);
        }
        if (!path.empty()) {
            return std::string(path);
        }
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}

}  // namespace veltra
