#pragma once
// Decides, before any window system is touched, whether the program must
// first make sure it can reach an X server. Qt aborts the whole process when
// its platform plugin cannot connect, with a message about reinstalling; the
// program checks first so that the user learns what is really wrong.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace veltra {

// What the environment and the command line say about the window system.
struct DisplaySetting {
    std::optional<std::string> platform;    // -platform NAME, else QT_QPA_PLATFORM
    std::optional<std::string> x11Display;  // -display NAME, else DISPLAY
    bool waylandSession = false;            // WAYLAND_DISPLAY set or XDG_SESSION_TYPE=wayland
};

DisplaySetting ReadDisplaySetting(std::span<const std::string_view> args, const char* qpaPlatform,
                                  const char* display, const char* waylandDisplay,
                                  const char* sessionType);

// True when Qt will connect to an X server, so the program must check that
// one answers. Other platforms (offscreen, Wayland, VNC...) are left to Qt.
bool NeedsX11(const DisplaySetting& setting);

inline constexpr std::string_view kNoDisplayMessage =
    "cannot connect to a display: set DISPLAY, or run from a desktop session";

}  // namespace veltra
