#pragma once
// Runs pending window, serial and timer events during a nested wait.

#include "platform/clock.h"

namespace veltra {

class QtEventPump : public EventPump {
public:
    // Handles every pending event, then pauses for a millisecond so that a
    // wait built on this does not keep a processor core busy.
    void processEvents() override;
};

}  // namespace veltra
