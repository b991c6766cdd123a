#pragma once
// Where the main window opens, from the geometry it stored when it last
// closed. The stored values are whatever the settings file holds: another
// monitor that has since gone, a hand edit, or a number far beyond any
// screen. Whatever they say, the window must open where the user can see and
// grab it, and no narrower than its floor.

#include <optional>
#include <span>

namespace veltra {

// A rectangle in pixels, on the desktop's coordinates.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The stored geometry in pixels (already converted from twips); nothing
// where a key is absent or did not convert.
struct StoredGeometry {
    std::optional<double> width;
    std::optional<double> height;
    std::optional<double> left;
    std::optional<double> top;
};

struct WindowPlacement {
    int width = 0;
    int height = 0;
    // Only when a position was stored: otherwise the window manager places
    // the window, as it does for any new window.
    std::optional<int> x;
    std::optional<int> y;
};

struct PlacementLimits {
    PixelRect designSize;  // x, y: the current position; the size the window has now
    int minimumWidth = 0;
    // The usable area of every screen, and of the one the window opens on.
    std::span<const PixelRect> screens;
    PixelRect home;
    // Room the window manager's frame takes around the window; the frame,
    // too, has to fit on the screen.
    int frameWidth = 0;
    int frameHeight = 0;
    // When the window keeps an aspect ratio (inner width / inner height,
    // with `aspectExtraHeight` above the inner area), its height follows its
    // width as soon as it is shown: the fit must allow for that height.
    double aspect = 0;
    int aspectExtraHeight = 0;
};

// The size and position to give the window before it is first shown.
WindowPlacement PlaceWindow(const StoredGeometry& stored, const PlacementLimits& limits);

}  // namespace veltra
