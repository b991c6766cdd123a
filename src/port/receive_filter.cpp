#include "port/receive_filter.h"

namespace veltra {

void ReceiveFilter::put(std::vector<std::uint8_t>& out, std::uint8_t byte) const {
    if (nullDiscard_ && byte == 0) {
        return;
    }
    out.push_back(byte);
}

void ReceiveFilter::apply(std::vector<std::uint8_t>& bytes) {
    if (passesAll()) {
        return;
    }
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size());
    for (std::uint8_t b : bytes) {
        if (!markedErrors_) {
            put(out, b);
            continue;
        }
        switch (state_) {
            case State::Data:
                if (b == 0xFF) {
                    state_ = State::AfterEscape;
                } else {
                    put(out, b);
                }
                break;
            case State::AfterEscape:
                if (b == 0x00) {
                    state_ = State::AfterMark;
                } else {
                    // 0xFF 0xFF is a data 0xFF; anything else cannot follow
                    // the escape, so keep both bytes rather than lose one.
                    put(out, 0xFF);
                    if (b != 0xFF) {
                        put(out, b);
                    }
                    state_ = State::Data;
                }
                break;
            case State::AfterMark:
                put(out, replacement_.value_or(b));
                state_ = State::Data;
                break;
        }
    }
    bytes.swap(out);
}

}  // namespace veltra
