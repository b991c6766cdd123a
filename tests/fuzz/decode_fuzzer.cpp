// veltrascope-decode's input handling: any bytes, handed over in receive
// events of any size, give the same lines as the whole input in one event.
// The tool promises that its output does not depend on --chunk; a receive
// buffer that kept state across events wrongly would break that.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <sstream>

#include "stream_decoder.h"

namespace {

std::string Decode(std::span<const std::uint8_t> bytes, std::size_t chunk, bool events) {
    std::ostringstream out;
    std::ostringstream errors;
    veltra::decode::StreamDecoder decoder(out, errors, events);
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        decoder.Receive(bytes.subspan(at, std::min(chunk, bytes.size() - at)));
    }
    decoder.Drain();
    return out.str() + "\n--\n" + errors.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    // The first byte picks the event size and whether alerts are printed.
    const std::size_t chunk = (data[0] & 0x7f) + 1;
    const bool events = (data[0] & 0x80) != 0;
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    const std::string whole = Decode(bytes, bytes.empty() ? 1 : bytes.size(), events);
    if (Decode(bytes, chunk, events) != whole) {
        std::abort();
    }
    return 0;
}
