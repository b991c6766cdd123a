#pragma once
// Line faults for --faults: lost and extra bytes, bursts of noise and a 0xFE
// in the middle of a frame, at a seeded random few of the chunks.
//
// Every fault spoils the frame it touches in a way the receiver's sync and
// length rule can see (a frame that is too short or too long, or cut in two);
// none forges a well-formed frame. So a receiver should show exactly the
// displays of the clean stream, minus some frames.

#include <cstdint>
#include <vector>

#include "rng.h"

namespace veltra::sim {

class FaultInjector {
public:
    enum class Kind { kLostByte, kExtraByte, kNoise, kSyncInside };

    explicit FaultInjector(std::uint64_t seed) : rng_(seed ^ 0xFA017ull) {}

    // Leaves about eleven chunks in twelve alone and applies one fault to the
    // rest, in place.
    void Apply(std::vector<std::uint8_t>& chunk);

    std::uint64_t faults() const { return faults_; }

private:
    void Spoil(Kind kind, std::vector<std::uint8_t>& chunk);

    Rng rng_;
    std::uint64_t faults_ = 0;
};

}  // namespace veltra::sim
