#pragma once
// A one-second timer as the core sees it. The Qt side wraps QTimer; tests
// drive ticks by hand.

#include <functional>

namespace veltra {

class Timer {
public:
    virtual ~Timer() = default;
    // Starting a running timer changes nothing: its next tick keeps its time.
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    // Called on every tick while the timer runs.
    virtual void setOnTick(std::function<void()> handler) = 0;
};

}  // namespace veltra
