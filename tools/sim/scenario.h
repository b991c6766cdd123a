#pragma once
// The display sequences the simulator can play: each scenario is a list of
// displays, each held for a number of frames.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "link/display_state.h"

namespace veltra::sim {

// 7200 bit/s with a start and a stop bit per byte.
inline constexpr int kLineBytesPerSecond = 720;

struct Step {
    DisplayState state;
    int frames = 1;
};

struct ScenarioInfo {
    std::string_view name;
    // What the scenario shows and which alerts it produces, for --help.
    std::string_view summary;
};

const std::vector<ScenarioInfo>& Scenarios();

bool IsScenario(std::string_view name);

// The steps of scenario `name`; the seed varies the timing and the signal
// strength, never which alerts happen or on which bands. Nothing for an
// unknown name.
std::optional<std::vector<Step>> BuildScenario(std::string_view name, std::uint64_t seed);

}  // namespace veltra::sim
