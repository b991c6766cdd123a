#pragma once
// Small helpers the fault tests share: message boxes by title, menu keys,
// the program's memory and its working log.

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/program_harness.h"

namespace veltra::e2e {

// Shown windows of the program whose X title matches `titleRegex` (the
// desktop adds " — Veltra Scope" to a box's own title).
std::vector<std::string> WindowsTitled(const Program& program, const std::string& titleRegex);

// Presses keys in the main window, as a user at the keyboard would
// ("alt+f c" picks File, Connect).
void PressKeys(const Program& program, const std::string& keys);

// Dismisses a box with its default button.
void Dismiss(const std::string& box);

// Peak resident memory of the program so far, in kB (VmHWM).
long PeakRssKb(const Program& program);

// The lines of a log, each with its CR LF; a final piece without a line end
// comes back as the last element (and so can be told apart).
std::vector<std::string> RawLines(const std::string& text);

}  // namespace veltra::e2e
