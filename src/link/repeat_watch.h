#pragma once
// Tells, read by read, whether the bytes from the port complete a display
// frame the program has to show now. A detector repeats its display many
// times a second; a frame equal to the one before it changes nothing the
// program shows, so the read that brings it may wait and be handled with
// the next one that matters. Nothing is dropped: the reads that wait still
// go through the receive path, only later.
//
// The frames are cut as FrameReceiver cuts them (from a sync byte up to the
// next one, 25 bytes to a frame), so the read that completes a changed frame
// is the one that makes the receive path hand it on.
//
// Feed runs on whichever thread reads the port, one at a time. Forget and
// SetRepeatsQuiet may be called from any thread.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

#include "link/frame_encoder.h"

namespace veltra {

class RepeatWatch {
public:
    // True when `bytes`, following every byte fed before, complete a frame
    // that differs from the frame before it, or complete any frame while
    // repeats are not quiet or after Forget.
    bool Feed(std::span<const std::uint8_t> bytes);

    // The program shows something a repeat would change (the raw frame
    // label was just switched on, the display was blanked): the next frame
    // counts as a change.
    void Forget() { forget_.store(true, std::memory_order_relaxed); }
    // Whether a repeated frame changes nothing. It does change something
    // during an alert, when each frame brings back a minimised window.
    void SetRepeatsQuiet(bool quiet) { repeatsQuiet_.store(quiet, std::memory_order_relaxed); }

private:
    using Frame = std::array<std::uint8_t, kFrameBytes>;
    // Cuts the frame being gathered; true when it is one the program must see.
    bool Cut();

    Frame gathering_{};
    // Bytes of the candidate being gathered, counted past the frame length
    // (up to one more) so an over-long one is told from a frame.
    std::size_t length_ = 0;
    bool inCandidate_ = false;
    Frame last_{};
    bool haveLast_ = false;
    std::atomic<bool> forget_{false};
    std::atomic<bool> repeatsQuiet_{true};
};

}  // namespace veltra
