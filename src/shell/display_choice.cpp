#include "shell/display_choice.h"

namespace veltra {

namespace {

std::optional<std::string> NonEmpty(const char* value) {
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}

// The value of Qt's option `name` (given as -name or --name, as Qt accepts
// both), when present.
std::optional<std::string> QtOption(std::span<const std::string_view> args, std::string_view name) {
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg.starts_with("--")) {
            arg.remove_prefix(1);
        }
        if (arg.starts_with("-") && arg.substr(1) == name) {
            return std::string(args[i + 1]);
        }
    }
    return std::nullopt;
}

}  // namespace

DisplaySetting ReadDisplaySetting(std::span<const std::string_view> args, const char* qpaPlatform,
                                  const char* display, const char* waylandDisplay,
                                  const char* sessionType) {
    DisplaySetting s;
    s.platform = QtOption(args, "platform");
    if (!s.platform) {
        s.platform = NonEmpty(qpaPlatform);
    }
    s.x11Display = QtOption(args, "display");
    if (!s.x11Display) {
        s.x11Display = NonEmpty(display);
    }
    s.waylandSession =
        NonEmpty(waylandDisplay).has_value() || NonEmpty(sessionType).value_or("") == "wayland";
    return s;
}

bool NeedsX11(const DisplaySetting& setting) {
    if (setting.platform) {
        // Qt tries a ";"-separated list in order; the first one decides
        // what the user meant.
        const std::string_view first =
            std::string_view(*setting.platform).substr(0, setting.platform->find(';'));
        return first.starts_with("xcb");
    }
    // Without a choice Qt takes Wayland in a Wayland session, else X11.
    return !setting.waylandSession;
}

}  // namespace veltra
