#include "link/display_decoder.h"

#include <string_view>

#include "link/hex.h"

namespace veltra {
namespace {

// Byte k of a frame text, as its two hex digits; empty past the end.
std::string_view ByteText(std::string_view sData, std::size_t k) {
    const std::size_t at = 3 * k;
    if (at >= sData.size()) {
        return {};
    }
    return sData.substr(at, 2);
}

bool Lit(std::string_view sData, std::size_t byte, int bit) {
    return GetBit(ByteText(sData, byte), bit) == 1;
}

}  // namespace

void DisplayDecoder::Process(std::string_view sData) {
    DisplayState& s = state_;
    s.FrontArrow = Lit(sData, 8, 0);
    s.SideArrow = Lit(sData, 9, 0);
    s.RearArrow = Lit(sData, 10, 0);
    s.Segment[3] = Lit(sData, 2, 0);
    s.Segment[4] = Lit(sData, 6, 7);
    s.Segment[5] = Lit(sData, 1, 7);
    s.Segment[7] = Lit(sData, 2, 4);
    s.Segment[1] = Lit(sData, 3, 0);
    s.Segment[6] = Lit(sData, 2, 7);
    s.Segment[2] = Lit(sData, 6, 4);
    s.Signal[0] = Lit(sData, 6, 0);
    s.Signal[1] = Lit(sData, 5, 7);
    s.Signal[2] = Lit(sData, 5, 4);
    s.Signal[3] = Lit(sData, 5, 0);
    s.Signal[4] = Lit(sData, 4, 7);
    s.Signal[5] = Lit(sData, 4, 4);
    s.Signal[6] = Lit(sData, 4, 0);
    s.Signal[7] = Lit(sData, 3, 7);
    s.Band[kKa] = Lit(sData, 7, 4);
    s.Band[kK] = Lit(sData, 7, 0);
    s.Band[kLaser] = Lit(sData, 7, 7);
    s.Band[kX] = Lit(sData, 11, 4);
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
