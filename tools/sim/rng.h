#pragma once
// A small seeded generator with a fixed algorithm (SplitMix64), so that a
// scenario or a fault pattern is the same for the same seed on every build;
// the standard distributions are free to differ between libraries.

#include <cstdint>

namespace veltra::sim {

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A number in [lo, hi]; the tiny modulo bias does not matter here.
    int Between(int lo, int hi) {
        const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
        return lo + static_cast<int>(Next() % span);
    }

    // True with probability num/den.
    bool Chance(int num, int den) { return Between(1, den) <= num; }

private:
    std::uint64_t state_;
};

}  // namespace veltra::sim
