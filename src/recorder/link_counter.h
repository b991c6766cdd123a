#pragma once
// Counts what arrives on the link, for the link status window: bytes,
// frames of the right length and pieces of the wrong one, by the same rule
// the receiver applies (a piece runs from one sync byte to the next).

#include <cstdint>
#include <span>

namespace veltra::recorder {

class LinkCounter {
public:
    void Count(std::span<const std::uint8_t> bytes);

    std::uint64_t bytes() const { return bytes_; }
    std::uint64_t frames() const { return frames_; }
    std::uint64_t rejected() const { return rejected_; }
    // The byte count at which the last good frame was complete; 0 for none.
    std::uint64_t lastFrameAt() const { return lastFrameAt_; }

private:
    std::uint64_t bytes_ = 0;
    std::uint64_t frames_ = 0;
    std::uint64_t rejected_ = 0;
    std::uint64_t lastFrameAt_ = 0;
    // Bytes since the last sync byte; -1 before the first.
    std::int64_t piece_ = -1;
};

}  // namespace veltra::recorder
