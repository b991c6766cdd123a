#pragma once
// The per-user settings store: text values addressed by section and key.
// Readers apply their own defaults and conversions (see shell/settings.h).

#include <optional>
#include <string>
#include <string_view>

namespace veltra {

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kPortsSection = "Ports";

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the key is absent.
    virtual std::optional<std::string> value(std::string_view section,
                                             std::string_view key) const = 0;
    virtual void setValue(std::string_view section, std::string_view key,
                          std::string_view text) = 0;
};

}  // namespace veltra
