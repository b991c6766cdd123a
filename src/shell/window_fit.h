#pragma once
// Where a window read back from the settings store may go. The store is a
// text file the user can edit, or that a crash or a full disk can spoil; a
// width of 1e30 twips or a position far off the desktop would leave the
// window unusable or unreachable. Sane values pass unchanged.

namespace veltra {

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// `wanted` in pixels, as read (any finite or non-finite values); `desktop`
// the area the window must lie on. The result is at least `minWidth` x
// `minHeight` (but no larger than the desktop) and lies wholly on it. A
// non-finite measure falls back to `fallback`'s.
PixelRect FitOnDesktop(double left, double top, double width, double height,
                       const PixelRect& fallback, const PixelRect& desktop, int minWidth,
                       int minHeight);

}  // namespace veltra
