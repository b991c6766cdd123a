#include "link/display_decoder.h"

#include <array>
#include <string_view>

#include "link/hex.h"

namespace veltra {
namespace {

// The bytes of a frame text that carry the display, each read once: its two
// hex digits, a digit past the end or no hex digit at all counting as 0 (as
// GetBit reads them).
class FrameBytes {
public:
    explicit FrameBytes(std::string_view sData) {
        auto digit = [&](std::size_t at) {
            return at < sData.size() ? HexDigitValue(sData[at]) : 0;
        };
        for (std::size_t k = 0; k < values_.size(); ++k) {
            values_[k] = static_cast<unsigned>(digit(3 * k) << 4 | digit(3 * k + 1));
        }
    }
    bool Lit(std::size_t byte, int bit) const { return (values_[byte] >> bit) & 1U; }

private:
    std::array<unsigned, 12> values_{};
};

}  // namespace

void DisplayDecoder::Process(std::string_view sData) {
    const FrameBytes bytes(sData);
    DisplayState& s = state_;
    s.FrontArrow = bytes.Lit(8, 0);
    s.SideArrow = bytes.Lit(9, 0);
    s.RearArrow = bytes.Lit(10, 0);
    s.Segment[3] = bytes.Lit(2, 0);
    s.Segment[4] = bytes.Lit(6, 7);
    s.Segment[5] = bytes.Lit(1, 7);
    s.Segment[7] = bytes.Lit(2, 4);
    s.Segment[1] = bytes.Lit(3, 0);
    s.Segment[6] = bytes.Lit(2, 7);
    s.Segment[2] = bytes.Lit(6, 4);
    s.Signal[0] = bytes.Lit(6, 0);
    s.Signal[1] = bytes.Lit(5, 7);
    s.Signal[2] = bytes.Lit(5, 4);
    s.Signal[3] = bytes.Lit(5, 0);
    s.Signal[4] = bytes.Lit(4, 7);
    s.Signal[5] = bytes.Lit(4, 4);
    s.Signal[6] = bytes.Lit(4, 0);
    s.Signal[7] = bytes.Lit(3, 7);
    s.Band[kKa] = bytes.Lit(7, 4);
    s.Band[kK] = bytes.Lit(7, 0);
    s.Band[kLaser] = bytes.Lit(7, 7);
    s.Band[kX] = bytes.Lit(11, 4);
    view_.ShowState(state_);

    // The flag changes before the call, so a frame handled inside it (the
    // mute pulse runs events) neither begins nor ends the same alert again.
    if (state_.Signal[0]) {
        if (!InAlert) {
            InAlert = true;
            alerts_.BeginAlert();
        }
    } else if (InAlert) {
        InAlert = false;
        alerts_.EndAlert();
    }

    if (InAlert && window_.windowState() == WindowState::Minimised) {
        window_.setWindowState(WindowState::Normal);
        window_.bringToFront();
        window_.show();
    }
}

void DisplayDecoder::SetDefaults() {
    DisplayState& s = state_;
    s.RearArrow = false;
    s.FrontArrow = false;
    s.SideArrow = false;
    s.Segment.fill(false);
    s.Signal.fill(false);
    s.Band.fill(false);
    view_.ShowState(state_);
}

}  // namespace veltra
