// The raw capture veltrascope-sim --play sends: any bytes must load (or be
// refused with a reason), and playing them must give back exactly those
// bytes, in frame-sized pieces, with or without the line faults.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture_source.h"
#include "fault_injector.h"
#include "link/frame_encoder.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using veltra::sim::CaptureSource;
    const std::vector<std::uint8_t> bytes(data, data + size);
    std::string error;
    auto played = CaptureSource::FromBytes(bytes, "fuzz.raw", false, error);
    if (!played) {
        Check(bytes.empty() && !error.empty());
        return 0;
    }
    std::vector<std::uint8_t> back;
    std::vector<std::uint8_t> chunk;
    while (played->Next(chunk)) {
        Check(!chunk.empty() && chunk.size() <= veltra::kFrameBytes);
        back.insert(back.end(), chunk.begin(), chunk.end());
    }
    Check(back == bytes);

    // Looping: two rounds and a bit, spoiled by the fault injector, which
    // must keep every piece within bounds whatever it is given.
    auto looped = CaptureSource::FromBytes(bytes, "fuzz.raw", true, error);
    veltra::sim::FaultInjector faults(size);
    std::size_t sent = 0;
    while (sent < 2 * bytes.size() + 1) {
        Check(looped->Next(chunk));
        sent += chunk.size();
        faults.Apply(chunk);
        Check(chunk.size() <= 4 * veltra::kFrameBytes + 64);
    }
    return 0;
}
