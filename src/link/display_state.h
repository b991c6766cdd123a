#pragma once
// The lit or unlit value of the 22 elements of the detector's display.

#include <array>

namespace veltra {

// Band lamp numbers, top to bottom on the face.
enum Band { kLaser = 0, kKa = 1, kK = 2, kX = 3 };

struct DisplayState {
    bool FrontArrow = false;
    bool SideArrow = false;
    bool RearArrow = false;
    // Segments 1..7 of the digit: 1 top, 2 middle, 3 bottom, 4 upper left,
    // 5 lower left, 6 upper right, 7 lower right. Index 0 is unused.
    std::array<bool, 8> Segment{};
    // Signal meter dots, 0 leftmost .. 7 rightmost.
    std::array<bool, 8> Signal{};
    // Band lamps, indexed by Band.
    std::array<bool, 4> Band{};

    bool operator==(const DisplayState&) const = default;
};

}  // namespace veltra
