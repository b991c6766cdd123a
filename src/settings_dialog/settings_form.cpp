#include "settings_dialog/settings_form.h"

#include <array>
#include <stdexcept>
#include <string_view>

#include "shell/settings.h"

namespace veltra::settings_dialog {

namespace {

using settings::Use;

struct CheckKey {
    std::string_view key;
    // The place in the program where the option takes effect.
    Use actingUse;
};

// clang-format off
constexpr std::array kCheckKeys = {
    CheckKey{"AutoHide",        Use::EndAlert},
    CheckKey{"AutoMute",        Use::BeginAlert},
    CheckKey{"OnTop",           Use::Start},
    CheckKey{"AutoConnect",     Use::Start},
    CheckKey{"AutoMinimize",    Use::Start},
    CheckKey{"HideTitlebar",    Use::Start},
    CheckKey{"HideMute",        Use::Start},
    CheckKey{"KeepAspectRatio", Use::Start},
};
// clang-format on

Use ActingUse(std::string_view key) {
    for (const CheckKey& k : kCheckKeys) {
        if (k.key == key) {
            return k.actingUse;
        }
    }
    throw std::logic_error("not a check-box option: " + std::string(key));
}

std::string TimeText(const SettingsStore& store, std::string_view key) {
    return settings::ReadText(store, key, Use::SettingsDialog);
}

}  // namespace

int CheckStateFor(const SettingsStore& store, std::string_view key) {
    Use acting = ActingUse(key);
    auto text = store.value(kSettingsSection, key);
    if (!text) {
        return settings::ReadInt(store, key, Use::SettingsDialog);
    }
    if (auto n = settings::ParseNumber(*text)) {
        if (auto whole = settings::RoundWhole(*n);
            whole && *whole >= kUnchecked && *whole <= kGreyed) {
            return *whole;
        }
    }
    return settings::ReadBool(store, key, acting) ? kChecked : kUnchecked;
}

SettingsForm LoadSettingsForm(const SettingsStore& store) {
    SettingsForm f;
    f.autoHide = CheckStateFor(store, "AutoHide");
    f.autoHideTime = TimeText(store, "AutoHideTime");
    f.autoMute = CheckStateFor(store, "AutoMute");
    f.autoMuteTime = TimeText(store, "AutoMuteTime");
    f.onTop = CheckStateFor(store, "OnTop");
    f.autoConnect = CheckStateFor(store, "AutoConnect");
    f.autoMinimize = CheckStateFor(store, "AutoMinimize");
    f.hideTitlebar = CheckStateFor(store, "HideTitlebar");
    f.hideMute = CheckStateFor(store, "HideMute");
    f.keepAspectRatio = CheckStateFor(store, "KeepAspectRatio");
    return f;
}

void SaveSettingsForm(SettingsStore& store, const SettingsForm& f) {
    settings::WriteDigit(store, "AutoHide", f.autoHide);
    settings::WriteText(store, "AutoHideTime", f.autoHideTime);
    settings::WriteDigit(store, "AutoMute", f.autoMute);
    settings::WriteText(store, "AutoMuteTime", f.autoMuteTime);
    settings::WriteDigit(store, "OnTop", f.onTop);
    settings::WriteDigit(store, "AutoConnect", f.autoConnect);
    settings::WriteDigit(store, "AutoMinimize", f.autoMinimize);
    settings::WriteDigit(store, "HideTitlebar", f.hideTitlebar);
    settings::WriteDigit(store, "HideMute", f.hideMute);
    settings::WriteDigit(store, "KeepAspectRatio", f.keepAspectRatio);
}

}  // namespace veltra::settings_dialog
