#pragma once
// What a serial port reports to its receive handler. Handlers take the event
// as an int, so a port may hand on events that have no name here; only
// kCommEventReceive carries bytes, and the receive path ignores every other.

namespace veltra {

enum CommEvent : int {
    kCommEventReceive = 2,
};

}  // namespace veltra
