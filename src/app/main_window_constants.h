#pragma once

// Sizes and ratios of the main window, in twips, shared by the files that
// build, place and resize it.

namespace veltra::main_window {

// The window's design size: the display's inner area in twips.
constexpr double kDesignInnerWidth = 9015;
constexpr double kDesignInnerHeight = 3540;
// The mute strip is this many twips wide; muteStripOffset's Left is minus that.
constexpr double kMuteStrip = 2200;
// The window is never left narrower than this many twips.
constexpr double kMinimumWidth = 1680;
// Inner width / inner height of the display with and without the mute strip.
constexpr double kFullAspect = 2.543;
constexpr double kNarrowAspect = 1.873;
// What a window manager's frame adds around the window at most, as far as
// fitting a restored window on the screen goes: borders and a title bar.
constexpr double kFrameAllowanceWidth = 240;
constexpr double kFrameAllowanceHeight = 600;

}  // namespace veltra::main_window
