#include "shell/window_fit.h"

#include <algorithm>
#include <cmath>

namespace veltra {

namespace {

// Clamped in floating point first: converting a huge double to int is
// undefined behaviour.
int ClampToInt(double value, int fallback, int low, int high) {
    if (!std::isfinite(value)) {
        value = fallback;
    }
    if (high < low) {
        high = low;
    }
    return static_cast<int>(std::lround(std::clamp(value, double(low), double(high))));
}

}  // namespace

PixelRect FitOnDesktop(double left, double top, double width, double height,
                       const PixelRect& fallback, const PixelRect& desktop, int minWidth,
                       int minHeight) {
    PixelRect r;
    r.width = ClampToInt(width, fallback.width, std::min(minWidth, desktop.width), desktop.width);
    r.height =
        ClampToInt(height, fallback.height, std::min(minHeight, desktop.height), desktop.height);
    r.left = ClampToInt(left, fallback.left, desktop.left, desktop.left + desktop.width - r.width);
    r.top = ClampToInt(top, fallback.top, desktop.top, desktop.top + desktop.height - r.height);
    return r;
}

}  // namespace veltra
