#pragma once
// What the settings dialog shows and stores: the ten options, read from the
// store when the dialog opens and written back, in a fixed order, on OK.

#include <string>

#include "platform/settings_store.h"

namespace veltra::settings_dialog {

// Check-box states as the store keeps them.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGreyed = 2;

struct SettingsForm {
    int autoHide = kUnchecked;         // autoHideBox, "AutoHide"
    std::string autoHideTime;          // hideSecondsBox, "AutoHideTime"
    int autoMute = kUnchecked;         // autoMuteBox, "AutoMute"
    std::string autoMuteTime;          // muteSecondsBox, "AutoMuteTime"
    int onTop = kUnchecked;            // onTopBox, "OnTop"
    int autoConnect = kUnchecked;      // autoConnectBox, "AutoConnect"
    int autoMinimize = kUnchecked;     // autoMinimizeBox, "AutoMinimize"
    int hideTitlebar = kUnchecked;     // hideTitleBarBox, "HideTitlebar"
    int hideMute = kUnchecked;         // hideMuteBox, "HideMute"
    int keepAspectRatio = kUnchecked;  // keepAspectBox, "KeepAspectRatio"

    bool operator==(const SettingsForm&) const = default;
};

// The state a check box shows for `key`. A stored whole number 0, 1 or 2 is
// shown as it is. Any other stored text (another number, "True", letters)
// cannot be a check-box state; the box then shows what the program actually
// does with that text, checked when the option is in effect, so that a plain
// OK keeps the option's behaviour.
int CheckStateFor(const SettingsStore& store, std::string_view key);

// Reads the ten options, each with the dialog's default for an absent key.
SettingsForm LoadSettingsForm(const SettingsStore& store);

// Writes the ten options in the order "AutoHide", "AutoHideTime", "AutoMute",
// "AutoMuteTime", "OnTop", "AutoConnect", "AutoMinimize", "HideTitlebar",
// "HideMute", "KeepAspectRatio": check boxes as a digit, times as shown.
void SaveSettingsForm(SettingsStore& store, const SettingsForm& form);

}  // namespace veltra::settings_dialog
