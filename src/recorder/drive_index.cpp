#include "recorder/drive_index.h"

#include <algorithm>

#include "link/display_decoder.h"
#include "link/frame_encoder.h"
#include "link/frame_receiver.h"
#include "link/hex.h"

namespace veltra::recorder {

DriveIndex::DriveIndex(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
    // Bytes before the first sync byte are dropped, as the receiver drops
    // them when it resynchronises; a candidate still open at the end of the
    // file was never taken.
    const std::uint64_t n = bytes_.size();
    std::uint64_t open = n;  // start of the candidate being read; n: none yet
    for (std::uint64_t i = 0; i < n; ++i) {
        if (bytes_[i] != kSyncByte) {
            continue;
        }
        if (open < n) {
            if (i - open == kFrameBytes) {
                frames_.push_back({open, i + 1});
            } else {
                ++rejected_;
            }
        }
        open = i;
    }
}

std::string DriveIndex::frameText(std::size_t i) const {
    const auto* first = bytes_.data() + frames_[i].start;
    std::string text = ParseBytes(std::span(first, kFrameBytes));
    text.resize(kFrameTextLength);  // without the blank after the last byte
    return text;
}

std::size_t DriveIndex::framesTakenBy(std::uint64_t offset) const {
    const auto it = std::upper_bound(frames_.begin(), frames_.end(), offset,
                                     [](std::uint64_t o, const FrameAt& f) { return o < f.at; });
    return static_cast<std::size_t>(it - frames_.begin());
}

namespace {

class Capture : public DisplayView, public AlertHooks, public MainWindowOps {
public:
    void ShowState(const DisplayState& s) override { state = s; }
    void BeginAlert() override {}
    void EndAlert() override {}
    WindowState windowState() const override { return WindowState::Normal; }
    void setWindowState(WindowState) override {}
    void bringToFront() override {}
    void show() override {}
    DisplayState state;
};

}  // namespace

DisplayState StateOf(const std::string& frameText) {
    Capture capture;
    DisplayDecoder decoder(capture, capture, capture);
    decoder.Process(frameText);
    return decoder.state();
}

}  // namespace veltra::recorder
