#pragma once
// Where the display frames of a recorded drive lie, and when the program
// took each one. The recording is the raw stream; the program cuts a frame
// out when the sync byte that follows it arrives and accepts it when it is
// exactly 25 bytes long, so the same rule over the whole file finds what
// the live program showed.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/display_state.h"

namespace veltra::recorder {

struct FrameAt {
    std::uint64_t start = 0;  // offset of its sync byte
    std::uint64_t at = 0;     // bytes received when it was taken (just past the next sync)
};

class DriveIndex {
public:
    explicit DriveIndex(std::vector<std::uint8_t> bytes);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::uint64_t size() const { return bytes_.size(); }
    const std::vector<FrameAt>& frames() const { return frames_; }
    // Candidates between sync bytes that were not 25 bytes long.
    std::uint64_t rejected() const { return rejected_; }

    // The frame text ("FE 00 ...", 74 characters) of frame `i`.
    std::string frameText(std::size_t i) const;
    // The number of frames taken once `offset` bytes have arrived.
    std::size_t framesTakenBy(std::uint64_t offset) const;

private:
    std::vector<std::uint8_t> bytes_;
    std::vector<FrameAt> frames_;
    std::uint64_t rejected_ = 0;
};

// The display a frame text shows, decoded by the program's own decoder.
DisplayState StateOf(const std::string& frameText);

}  // namespace veltra::recorder
