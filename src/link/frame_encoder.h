#pragma once
// The inverse of display decoding: the 25 bytes a detector sends for a given
// display. The simulator, the benchmarks and the tests build streams with it.

#include <array>
#include <cstdint>
#include <optional>

#include "link/display_state.h"

namespace veltra {

inline constexpr std::size_t kFrameBytes = 25;
inline constexpr std::uint8_t kSyncByte = 0xFE;

// Byte 0 is the sync byte; every unused bit is 0, so no data byte is 0xFE.
std::array<std::uint8_t, kFrameBytes> EncodeFrame(const DisplayState& state);

// The segments (index 1..7) that show `c` on the digit: '1'..'9', 'A', 'l'
// (lower-case L), 'L'; nothing for any other character.
std::optional<std::array<bool, 8>> SegmentsFor(char c);

}  // namespace veltra
