#pragma once
// Building detector byte streams and frame texts for tests.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "link/frame_encoder.h"
#include "link/hex.h"

namespace veltra::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes FrameBytes(const DisplayState& s) {
    auto f = EncodeFrame(s);
    return Bytes(f.begin(), f.end());
}

// The frame text of 25 bytes: hex pairs with single blanks between them.
inline std::string FrameText(const Bytes& frame) {
    std::string t = ParseBytes(frame);
    t.pop_back();
    return t;
}

inline void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

inline DisplayState RandomState(std::mt19937& rng) {
    std::bernoulli_distribution coin(0.3);
    DisplayState s;
    s.FrontArrow = coin(rng);
    s.SideArrow = coin(rng);
    s.RearArrow = coin(rng);
    for (int i = 1; i <= 7; ++i) {
        s.Segment[i] = coin(rng);
    }
    for (auto& d : s.Signal) {
        d = coin(rng);
    }
    for (auto& b : s.Band) {
        b = coin(rng);
    }
    return s;
}

// Bytes that are never the sync byte.
inline Bytes Noise(std::mt19937& rng, std::size_t n) {
    std::uniform_int_distribution<int> byte(0, 0xFD);
    Bytes out(n);
    for (auto& b : out) {
        b = static_cast<std::uint8_t>(byte(rng));
    }
    return out;
}

// A stream with everything a real line does wrong: whole frames, repeats
// (so the log's change-only rule matters), alerts coming and going, lost and
// extra bytes, 0xFE inside frames, noise, and long runs without a sync byte.
inline Bytes TroubledStream(std::mt19937& rng, int pieces, std::size_t longRun) {
    Bytes out;
    DisplayState state;
    std::uniform_int_distribution<int> kind(0, 99);
    for (int i = 0; i < pieces; ++i) {
        const int k = kind(rng);
        if (k < 10) {
            state = RandomState(rng);
        } else if (k < 15) {
            state.Signal[0] = !state.Signal[0];
        }
        Bytes f = FrameBytes(state);
        if (k >= 60 && k < 67) {  // a lost byte
            f.erase(f.begin() + 1 + static_cast<long>(rng() % 24));
        } else if (k >= 67 && k < 74) {  // an extra byte
            f.insert(f.begin() + 1 + static_cast<long>(rng() % 25), Noise(rng, 1)[0]);
        } else if (k >= 74 && k < 80) {  // a data byte 0xFE
            f.insert(f.begin() + 1 + static_cast<long>(rng() % 25), kSyncByte);
        } else if (k >= 80 && k < 86) {  // noise
            Append(f, Noise(rng, rng() % 60));
        } else if (k >= 86 && k < 88) {  // noise ahead of the frame
            Bytes n = Noise(rng, rng() % 40);
            f.insert(f.begin(), n.begin(), n.end());
        } else if (k == 88) {  // a long run without a sync byte
            Append(f, Noise(rng, longRun));
        } else if (k == 89) {  // several sync bytes in a row
            Append(f, Bytes(1 + rng() % 4, kSyncByte));
        }
        Append(out, f);
    }
    return out;
}

}  // namespace veltra::test
