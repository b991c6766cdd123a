#include "link/repeat_watch.h"

namespace veltra {

bool RepeatWatch::Feed(std::span<const std::uint8_t> bytes) {
    if (forget_.exchange(false, std::memory_order_relaxed)) {
        haveLast_ = false;
    }
    bool urgent = false;
    for (const std::uint8_t byte : bytes) {
        if (byte == kSyncByte) {
            if (inCandidate_ && Cut()) {
                urgent = true;
            }
            inCandidate_ = true;
            gathering_[0] = byte;
            length_ = 1;
        } else if (inCandidate_ && length_ <= kFrameBytes) {
            if (length_ < kFrameBytes) {
                gathering_[length_] = byte;
            }
            ++length_;
        }
    }
    return urgent;
}

bool RepeatWatch::Cut() {
    // A candidate of another length is dropped by the receive path unseen.
    if (length_ != kFrameBytes) {
        return false;
    }
    const bool repeat = haveLast_ && gathering_ == last_;
    last_ = gathering_;
    haveLast_ = true;
    return !repeat || !repeatsQuiet_.load(std::memory_order_relaxed);
}

}  // namespace veltra
