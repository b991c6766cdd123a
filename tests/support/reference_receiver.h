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
        for (;;) {
            const auto p = buffer.find("FE");
            if (p != std::string::npos && p > 0) {
                buffer.erase(0, p);
            }
            const auto c = buffer.find("FE", 2);
            if (c == std::string::npos) {
                return frames;
            }
            std::string frame = buffer.substr(0, c - 1);
            buffer.erase(0, c - 1);
            if (frame.size() == 74) {
                frames.push_back(std::move(frame));
            }
        }
    }

    std::string buffer;
    std::int32_t count = 0;
};

}  // namespace veltra::test
