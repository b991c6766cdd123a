#pragma once
// Where the bytes of the stream come from, one chunk (usually one frame) at
// a time.

#include <cstdint>
#include <vector>

namespace veltra::sim {

class ChunkSource {
public:
    virtual ~ChunkSource() = default;
    // Replaces `chunk` with the next piece of the stream; false at its end.
    virtual bool Next(std::vector<std::uint8_t>& chunk) = 0;
};

}  // namespace veltra::sim
