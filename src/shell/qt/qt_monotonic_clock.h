#pragma once
// The monotonic clock that measured waits (the mute pulse) run on.

#include "platform/clock.h"

namespace veltra {

class QtMonotonicClock : public MonotonicClock {
public:
    std::chrono::nanoseconds now() const override;
};

}  // namespace veltra
