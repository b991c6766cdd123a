#pragma once
// When each byte of the stream is due at line rate, by deadline on the
// monotonic clock so that waiting never adds up to drift.

#include <chrono>
#include <cstdint>

namespace veltra::sim {

class LinePacer {
public:
    using Clock = std::chrono::steady_clock;

    LinePacer(Clock::time_point start, int bytesPerSecond)
        : start_(start), bytesPerSecond_(bytesPerSecond) {}

    // The moment the line has carried `bytes` bytes since the start.
    Clock::time_point DueAt(std::uint64_t bytes) const { return start_ + Span(bytes); }

    // When a slow reader has held the stream up by more than `maxLag`, the
    // schedule starts again from `now`: catching up would send faster than
    // the line can carry.
    void KeepUp(std::uint64_t bytes, Clock::time_point now, Clock::duration maxLag) {
        if (now - DueAt(bytes) > maxLag) {
            start_ = now - Span(bytes);
        }
    }

private:
    Clock::duration Span(std::uint64_t bytes) const {
        // Whole seconds first, so that no run is long enough to overflow.
        const auto rate = static_cast<std::uint64_t>(bytesPerSecond_);
        const auto ns = std::chrono::seconds(bytes / rate) +
                        std::chrono::nanoseconds((bytes % rate) * 1000000000 / rate);
        return std::chrono::duration_cast<Clock::duration>(ns);
    }

    Clock::time_point start_;
    int bytesPerSecond_;
};

}  // namespace veltra::sim
