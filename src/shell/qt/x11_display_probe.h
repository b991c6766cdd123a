#pragma once
// Whether an X server answers at a display name.

#include <optional>
#include <string>

namespace veltra {

// `display` empty: the default display (DISPLAY).
bool X11DisplayAnswers(const std::optional<std::string>& display);

}  // namespace veltra
