#pragma once
// The receive-event steps written out plainly, with a buffer that is never
// bounded: the yardstick the real receiver is compared with.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "link/hex.h"

namespace veltra::test {

class ReferenceReceiver {
public:
    // The frame accepted by this receive event, if any.
    std::optional<std::string> OnReceive(std::span<const std::uint8_t> input) {
        count = count + 1 > 1000 ? 0 : count + 1;
        buffer += ParseBytes(input);
        const auto p = buffer.find("FE");
        if (p != std::string::npos && p > 0) {
            buffer.erase(0, p);
        }
        const auto c = buffer.find("FE", 2);
        if (c == std::string::npos) {
            return std::nullopt;
        }
        std::string frame = buffer.substr(0, c - 1);
        buffer.erase(0, c - 1);
        if (frame.size() != 74) {
            return std::nullopt;
        }
        return frame;
    }

    std::string buffer;
    std::int32_t count = 0;
};

}  // namespace veltra::test
