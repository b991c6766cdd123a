#pragma once
// What a port does to received bytes before handing them over: optionally
// drops zero bytes, and, when the line discipline marks bytes received with a
// parity or framing error, puts the replacement byte in their place.
//
// Marked input (PARMRK) reads 0xFF 0x00 c for a byte c received with an error
// and 0xFF 0xFF for a data byte 0xFF. A mark may be split across two reads, so
// the filter keeps its place between calls.

#include <cstdint>
#include <optional>
#include <vector>

namespace veltra {

class ReceiveFilter {
public:
    ReceiveFilter() = default;
    ReceiveFilter(bool nullDiscard, bool markedErrors, std::optional<std::uint8_t> replacement)
        : nullDiscard_(nullDiscard), markedErrors_(markedErrors), replacement_(replacement) {}

    // Rewrites `bytes` in place.
    void apply(std::vector<std::uint8_t>& bytes);
    // True when apply leaves every byte as it is.
    bool passesAll() const { return !nullDiscard_ && !markedErrors_; }
    // Forgets a mark left unfinished by the last read (the port was closed).
    void reset() { state_ = State::Data; }

private:
    enum class State { Data, AfterEscape, AfterMark };
    void put(std::vector<std::uint8_t>& out, std::uint8_t byte) const;

    bool nullDiscard_ = false;
    bool markedErrors_ = false;
    std::optional<std::uint8_t> replacement_;
    State state_ = State::Data;
};

}  // namespace veltra
