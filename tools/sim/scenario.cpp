#include "scenario.h"

#include <cmath>
#include <initializer_list>

#include "link/frame_encoder.h"
#include "rng.h"

namespace veltra::sim {
namespace {

constexpr double kFramesPerSecond = double(kLineBytesPerSecond) / double(kFrameBytes);

int FramesIn(double seconds) {
    return std::max(1, static_cast<int>(std::lround(seconds * kFramesPerSecond)));
}

void ShowDigit(DisplayState& s, char c) {
    if (auto segments = SegmentsFor(c)) {
        s.Segment = *segments;
    }
}

struct Arrows {
    bool front = false;
    bool side = false;
    bool rear = false;
};

// Builds a scenario step by step; every random choice goes through one
// generator so a seed fixes the whole sequence.
class Builder {
public:
    explicit Builder(std::uint64_t seed) : rng_(seed) {}

    // The resting display: only the mode letter on the digit.
    void Idle(char mode, double minSeconds, double maxSeconds) {
        DisplayState s;
        ShowDigit(s, mode);
        Hold(s, Jitter(minSeconds, maxSeconds));
    }

    // A source passing by: the meter climbs one dot at a time to a peak and
    // falls back, with the arrow following it from the front over the side
    // to the rear. Dot 0 stays lit throughout, so this is one alert.
    void Pass(std::initializer_list<Band> bands, char count, int minPeak, int maxPeak) {
        const int peak = rng_.Between(minPeak, maxPeak);
        for (int dots = 1; dots < peak; ++dots) {
            Hold(Alert(bands, count, dots, {.front = true}), rng_.Between(8, 14));
        }
        Hold(Alert(bands, count, peak, {.front = true, .side = true}), rng_.Between(15, 30));
        for (int dots = peak - 1; dots >= 1; --dots) {
            Hold(Alert(bands, count, dots, {.rear = true}), rng_.Between(8, 14));
        }
    }

    // A laser hit: the full meter at once, straight ahead.
    void LaserBurst(double minSeconds, double maxSeconds) {
        Hold(Alert({kLaser}, '1', 8, {.front = true}), Jitter(minSeconds, maxSeconds));
    }

    std::vector<Step> Take() { return std::move(steps_); }

private:
    static DisplayState Alert(std::initializer_list<Band> bands, char count, int dots,
                              Arrows arrows) {
        DisplayState s;
        for (Band b : bands) {
            s.Band[b] = true;
        }
        for (int i = 0; i < dots && i < 8; ++i) {
            s.Signal[i] = true;
        }
        s.FrontArrow = arrows.front;
        s.SideArrow = arrows.side;
        s.RearArrow = arrows.rear;
        ShowDigit(s, count);
        return s;
    }

    int Jitter(double minSeconds, double maxSeconds) {
        return rng_.Between(FramesIn(minSeconds), FramesIn(maxSeconds));
    }

    void Hold(const DisplayState& s, int frames) { steps_.push_back(Step{s, frames}); }

    Rng rng_;
    std::vector<Step> steps_;
};

std::vector<Step> Idle(Builder& b) {
    b.Idle('A', 10, 10);
    return b.Take();
}

std::vector<Step> Bands(Builder& b) {
    b.Idle('A', 1.5, 2.5);
    b.Pass({kX}, '1', 5, 8);
    b.Idle('A', 2.5, 3.5);
    b.Pass({kK}, '1', 5, 8);
    b.Idle('A', 2.5, 3.5);
    b.Pass({kKa}, '1', 5, 8);
    b.Idle('A', 2.5, 3.5);
    b.LaserBurst(1.0, 2.0);
    b.Idle('A', 2.5, 3.5);
    return b.Take();
}

std::vector<Step> Laser(Builder& b) {
    b.Idle('A', 1.5, 2.5);
    b.LaserBurst(1.0, 2.0);
    b.Idle('A', 2.5, 3.5);
    return b.Take();
}

std::vector<Step> Modes(Builder& b) {
    for (char mode : {'A', 'l', 'L', 'A'}) {
        b.Idle(mode, 2.5, 3.5);
    }
    return b.Take();
}

std::vector<Step> Mixed(Builder& b) {
    b.Idle('A', 3, 5);
    b.Pass({kX}, '1', 2, 2);  // a weak, brief X signal
    b.Idle('A', 4, 6);
    b.Pass({kK}, '1', 6, 8);
    b.Idle('A', 2, 4);
    b.Idle('l', 3, 5);
    b.Pass({kKa}, '1', 5, 8);
    b.Idle('l', 4, 6);
    b.Pass({kK, kX}, '2', 4, 6);  // two sources at once
    b.Idle('l', 2, 4);
    b.Idle('A', 2, 4);
    b.LaserBurst(1.0, 2.0);
    b.Idle('A', 4, 6);
    return b.Take();
}

struct Entry {
    ScenarioInfo info;
    std::vector<Step> (*build)(Builder&);
};

const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries = {
        {{"idle", "the mode letter A and nothing else for 10 s; no alert"}, Idle},
        {{"bands",
          "four alerts, one per band in turn: X, K, Ka, Laser, with idle stretches\n"
          "between them (about 30 s). On X, K and Ka the meter climbs to a peak of\n"
          "5 to 8 dots and falls, the arrow goes front, side, rear, the digit shows\n"
          "the count 1; the Laser alert is a burst with the full meter"},
         Bands},
        {{"laser",
          "one Laser alert: a burst of 1 to 2 s with all eight dots and the front\n"
          "arrow, between idle stretches in mode A (about 6 s)"},
         Laser},
        {{"modes", "mode letters A, l, L, then A again, about 3 s each; no alert"}, Modes},
        {{"mixed",
          "a drive of about 50 s with five alerts: X (weak and brief), K, Ka, K and\n"
          "X at once (digit 2), then Laser; idle stretches in modes A and l"},
         Mixed},
    };
    return entries;
}

}  // namespace

const std::vector<ScenarioInfo>& Scenarios() {
    static const std::vector<ScenarioInfo> infos = [] {
        std::vector<ScenarioInfo> v;
        for (const Entry& e : Entries()) {
            v.push_back(e.info);
        }
        return v;
    }();
    return infos;
}

bool IsScenario(std::string_view name) {
    for (const Entry& e : Entries()) {
        if (e.info.name == name) {
            return true;
        }
    }
    return false;
}

std::optional<std::vector<Step>> BuildScenario(std::string_view name, std::uint64_t seed) {
    for (const Entry& e : Entries()) {
        if (e.info.name == name) {
            Builder b(seed);
            return e.build(b);
        }
    }
    return std::nullopt;
}

}  // namespace veltra::sim
