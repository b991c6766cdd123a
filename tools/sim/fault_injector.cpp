#include "fault_injector.h"

#include "link/frame_encoder.h"

namespace veltra::sim {
namespace {

// Noise bursts stay shorter than a frame, so a 0xFE among them can never
// start a candidate of exactly 25 bytes.
constexpr int kMaxNoise = 12;

}  // namespace

void FaultInjector::Apply(std::vector<std::uint8_t>& chunk) {
    if (chunk.size() < 2 || !rng_.Chance(1, 12)) {
        return;
    }
    Spoil(static_cast<Kind>(rng_.Between(0, 3)), chunk);
    ++faults_;
}

void FaultInjector::Spoil(Kind kind, std::vector<std::uint8_t>& chunk) {
    const int size = static_cast<int>(chunk.size());
    switch (kind) {
        case Kind::kLostByte:
            chunk.erase(chunk.begin() + rng_.Between(0, size - 1));
            break;
        case Kind::kExtraByte: {
            auto extra = static_cast<std::uint8_t>(rng_.Between(0, 0xFD));
            chunk.insert(chunk.begin() + rng_.Between(1, size), extra);
            break;
        }
        case Kind::kNoise: {
            const int n = rng_.Between(1, kMaxNoise);
            for (int i = 0; i < n; ++i) {
                chunk.push_back(static_cast<std::uint8_t>(rng_.Between(0, 0xFF)));
            }
            break;
        }
        case Kind::kSyncInside:
            chunk[rng_.Between(1, size - 1)] = kSyncByte;
            break;
    }
}

}  // namespace veltra::sim
