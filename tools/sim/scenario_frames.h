#pragma once
// Frames of a scenario, back to back.

#include <array>
#include <cstddef>

#include "chunk_source.h"
#include "link/frame_encoder.h"
#include "scenario.h"

namespace veltra::sim {

class ScenarioFrames : public ChunkSource {
public:
    // What follows the last step: the end of the stream, the scenario again,
    // or its last display for ever (a stream of fixed length outlasting it).
    enum class AtEnd { kStop, kRepeat, kHold };

    ScenarioFrames(std::vector<Step> steps, AtEnd atEnd);

    bool Next(std::vector<std::uint8_t>& chunk) override;

private:
    std::vector<std::array<std::uint8_t, kFrameBytes>> frames_;  // one per step
    std::vector<Step> steps_;
    AtEnd atEnd_;
    std::size_t step_ = 0;
    int sentInStep_ = 0;
};

}  // namespace veltra::sim
