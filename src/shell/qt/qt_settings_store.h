#pragma once
// The per-user settings store: $XDG_CONFIG_HOME/Veltrascope/Veltrascope.ini
// (~/.config/... by default), one INI section per store section, every value
// plain text (see ini_text_format.h).

#include <QSettings>
#include <functional>
#include <string>

#include "platform/settings_store.h"

namespace veltra {

class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();

    // Reads see changes made to the file since the last read, so a hand edit
    // takes effect at the option's next use.
    std::optional<std::string> value(std::string_view section, std::string_view key) const override;
    // Each write goes to disk at once (written to a temporary file, then
    // renamed over the old one), so a crash afterwards loses nothing.
    void setValue(std::string_view section, std::string_view key, std::string_view text) override;

    QString fileName() const;

    // Called with a message for the user when a write could not be saved;
    // the value then lives only until the program ends.
    void setOnWriteFailed(std::function<void(const std::string& message)> handler);

private:
    mutable QSettings settings_;
    std::function<void(const std::string&)> onWriteFailed_;
};

}  // namespace veltra
