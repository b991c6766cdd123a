#include "shell/qt/qt_monotonic_clock.h"

namespace veltra {

std::chrono::nanoseconds QtMonotonicClock::now() const {
    return std::chrono::steady_clock::now().time_since_epoch();
}

}  // namespace veltra
