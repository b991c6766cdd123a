#include "link/frame_encoder.h"

#include <string_view>

namespace veltra {
namespace {

// Where the detector puts each element: byte number and bit (7 = 0x80).
struct BitPlace {
    int byte;
    int bit;
};

constexpr BitPlace kFront{8, 0}, kSide{9, 0}, kRear{10, 0};
// Segments 1..7; index 0 unused.
constexpr BitPlace kSegment[8] = {{0, 0}, {3, 0}, {6, 4}, {2, 0}, {6, 7}, {1, 7}, {2, 7}, {2, 4}};
// Signal dots 0..7.
constexpr BitPlace kSignal[8] = {{6, 0}, {5, 7}, {5, 4}, {5, 0}, {4, 7}, {4, 4}, {4, 0}, {3, 7}};
// Band lamps by Band: Laser, Ka, K, X.
constexpr BitPlace kBand[4] = {{7, 7}, {7, 4}, {7, 0}, {11, 4}};

void Put(std::array<std::uint8_t, kFrameBytes>& frame, BitPlace at, bool lit) {
    if (lit) {
        frame[at.byte] = static_cast<std::uint8_t>(frame[at.byte] | (1u << at.bit));
    }
}

}  // namespace

std::array<std::uint8_t, kFrameBytes> EncodeFrame(const DisplayState& state) {
    std::array<std::uint8_t, kFrameBytes> frame{};
    frame[0] = kSyncByte;
    Put(frame, kFront, state.FrontArrow);
    Put(frame, kSide, state.SideArrow);
    Put(frame, kRear, state.RearArrow);
    for (int i = 1; i <= 7; ++i) {
        Put(frame, kSegment[i], state.Segment[i]);
    }
    for (int i = 0; i < 8; ++i) {
        Put(frame, kSignal[i], state.Signal[i]);
    }
    for (int i = 0; i < 4; ++i) {
        Put(frame, kBand[i], state.Band[i]);
    }
    return frame;
}

std::optional<std::array<bool, 8>> SegmentsFor(char c) {
    // The lit segments of each character the digit can show, as the log
    // writer reads them back.
    struct Glyph {
        char c;
        std::string_view segments;
    };
    static constexpr Glyph kGlyphs[] = {
        {'1', "67"},     {'2', "12356"},  {'3', "12367"}, {'4', "2467"},
        {'5', "12347"},  {'6', "123457"}, {'7', "167"},   {'8', "1234567"},
        {'9', "123467"}, {'A', "124567"}, {'l', "35"},    {'L', "345"},
    };
    for (const Glyph& g : kGlyphs) {
        if (g.c == c) {
            std::array<bool, 8> lit{};
            for (char s : g.segments) {
                lit[static_cast<std::size_t>(s - '0')] = true;
            }
            return lit;
        }
    }
    return std::nullopt;
}

}  // namespace veltra
