#include "scenario_frames.h"

namespace veltra::sim {

ScenarioFrames::ScenarioFrames(std::vector<Step> steps, AtEnd atEnd)
    : steps_(std::move(steps)), atEnd_(atEnd) {
    for (const Step& s : steps_) {
        frames_.push_back(EncodeFrame(s.state));
    }
}

bool ScenarioFrames::Next(std::vector<std::uint8_t>& chunk) {
    if (steps_.empty()) {
        return false;
    }
    if (sentInStep_ >= steps_[step_].frames) {
        if (step_ + 1 < steps_.size()) {
            ++step_;
            sentInStep_ = 0;
        } else if (atEnd_ == AtEnd::kRepeat) {
            step_ = 0;
            sentInStep_ = 0;
        } else if (atEnd_ == AtEnd::kStop) {
            return false;
        }
        // kHold: stay on the last step.
    }
    ++sentInStep_;
    chunk.assign(frames_[step_].begin(), frames_[step_].end());
    return true;
}

}  // namespace veltra::sim
