#pragma once
// The receive-event steps written out plainly, with a buffer that is never
// bounded: the yardstick the real receiver is compared with.

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "link/hex.h"

namespace veltra::test {

class ReferenceReceiver {
public:
    // The frames accepted by this receive event: every complete one.
    std::vector<std::string> OnReceive(std::span<const std::uint8_t> input) {
        count = count + 1 > 1000 ? 0 : count + 1;
        buffer += ParseBytes(input);
        std::vector<std::string> frames;
        // Where the buffer begins for the steps below. What they drop comes
        // off in one erase at the end: erasing the front frame by frame costs
        // time in the square of the event's size, which a storm of sync bytes
        // makes hundreds of kilobytes long.
        std::size_t start = 0;
        for (;;) {
            const auto p = buffer.find("FE", start);
            if (p != std::string::npos && p > start) {
                start = p;
            }
            const auto c = buffer.find("FE", start + 2);
            if (c == std::string::npos) {
                buffer.erase(0, start);
                return frames;
            }
            if (c - 1 - start == 74) {
                frames.push_back(buffer.substr(start, 74));
            }
            start = c - 1;
        }
    }

    std::string buffer;
    std::int32_t count = 0;
};

}  // namespace veltra::test
