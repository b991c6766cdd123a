#pragma once
// Time sources: a monotonic clock for measured waits, and the local time of
// day as the log writer prints it.

#include <chrono>
#include <string>

namespace veltra {

class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    virtual std::chrono::nanoseconds now() const = 0;
};

class TimeOfDay {
public:
    virtual ~TimeOfDay() = default;
    // The current local time in the locale's long time format, without a
    // time-zone part ("9:41:07 PM" in en_US).
    virtual std::string longTime() const = 0;
};

// Lets pending window, serial and timer events run during a nested wait.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents() = 0;
};

}  // namespace veltra
