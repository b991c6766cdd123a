#include "recorder/link_counter.h"

#include "link/frame_encoder.h"

namespace veltra::recorder {

void LinkCounter::Count(std::span<const std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) {
        ++bytes_;
        if (b != kSyncByte) {
            if (piece_ >= 0) {
                ++piece_;
            }
            continue;
        }
        if (piece_ == static_cast<std::int64_t>(kFrameBytes)) {
            ++frames_;
            lastFrameAt_ = bytes_;
        } else if (piece_ >= 0) {
            ++rejected_;
        }
        piece_ = 1;
    }
}

}  // namespace veltra::recorder
