#pragma once
// Work handed to the event loop, to run once the current event has returned.

#include <functional>

namespace veltra {

class TaskQueue {
public:
    virtual ~TaskQueue() = default;
    // Runs `task` after the event being handled now, in the order posted.
    virtual void Post(std::function<void()> task) = 0;
};

}  // namespace veltra
