#include "shell/window_placement.h"

#include <algorithm>
#include <cmath>

namespace veltra {

namespace {

// A window counts as reachable when at least this much of it (or all of it,
// if it is smaller) lies on one screen: enough to see it and to grab it.
constexpr int kReachable = 48;

// Clamps in double first: a stored value may be far outside int's range.
int ClampToInt(double value, int low, int high) {
    if (!std::isfinite(value)) {
        return low;
    }
    return static_cast<int>(std::lround(std::clamp(value, double(low), double(high))));
}

int Overlap(int start1, int length1, int start2, int length2) {
    const long long lo = std::max<long long>(start1, start2);
    const long long hi = std::min<long long>(static_cast<long long>(start1) + length1,
                                             static_cast<long long>(start2) + length2);
    return hi > lo ? static_cast<int>(hi - lo) : 0;
}

bool Reachable(const PixelRect& window, std::span<const PixelRect> screens) {
    const int needX = std::min(window.width, kReachable);
    const int needY = std::min(window.height, kReachable);
    return std::any_of(screens.begin(), screens.end(), [&](const PixelRect& s) {
        return Overlap(window.x, window.width, s.x, s.width) >= needX &&
               Overlap(window.y, window.height, s.y, s.height) >= needY;
    });
}

}  // namespace

WindowPlacement PlaceWindow(const StoredGeometry& stored, const PlacementLimits& limits) {
    const PixelRect& home = limits.home;
    const int screenWidth = std::max(home.width, 1);
    const int screenHeight = std::max(home.height, 1);
    // Never narrower than the floor (unless the screen itself is narrower).
    const int minWidth = std::min(limits.minimumWidth, screenWidth);
    // A size that fits the screen is the user's own; one larger than the
    // screen comes down to what fits, frame included.
    auto fit = [](double want, int screen, int frame, int low) {
        if (want > screen) {
            return std::max(screen - frame, low);
        }
        return ClampToInt(want, low, screen);
    };

    WindowPlacement p;
    p.width = fit(stored.width.value_or(limits.designSize.width), screenWidth, limits.frameWidth,
                  minWidth);
    p.height =
        fit(stored.height.value_or(limits.designSize.height), screenHeight, limits.frameHeight, 1);
    // The height the aspect rule will give; when that is taller than the
    // screen, the width gives way instead.
    int fitHeight = p.height;
    if (limits.aspect > 0) {
        auto heightFor = [&](int width) {
            return limits.aspectExtraHeight + static_cast<int>(std::lround(width / limits.aspect));
        };
        fitHeight = heightFor(p.width);
        if (fitHeight > screenHeight) {
            const int room = screenHeight - limits.frameHeight - limits.aspectExtraHeight;
            p.width = std::clamp(static_cast<int>(room * limits.aspect), minWidth, p.width);
            fitHeight = heightFor(p.width);
        }
    }
    if (!stored.left && !stored.top) {
        return p;
    }
    // A stored position far outside int's range is off every screen anyway;
    // clamping to a generous band keeps the arithmetic in range.
    constexpr int kFar = 1 << 24;
    PixelRect window{ClampToInt(stored.left.value_or(limits.designSize.x), -kFar, kFar),
                     ClampToInt(stored.top.value_or(limits.designSize.y), -kFar, kFar),
                     p.width + limits.frameWidth, fitHeight + limits.frameHeight};
    if (!Reachable(window, limits.screens)) {
        // Back onto the screen it opens on, as near as it gets to where it was.
        window.x =
            std::clamp(window.x, home.x, std::max(home.x, home.x + home.width - window.width));
        window.y =
            std::clamp(window.y, home.y, std::max(home.y, home.y + home.height - window.height));
    }
    p.x = window.x;
    p.y = window.y;
    return p;
}

}  // namespace veltra
