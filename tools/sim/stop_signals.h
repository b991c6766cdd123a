#pragma once
// SIGINT and SIGTERM ask the simulator to stop. They are held back except
// while it waits, so a stop can never slip in between a check and a wait:
// every wait goes through WaitFor, which lets them in.

#include <chrono>
#include <optional>

namespace veltra::sim {

using SteadyClock = std::chrono::steady_clock;

// Also ignores SIGPIPE, so a reader that goes away shows up as EPIPE.
void InstallStopSignals();

bool StopRequested();

// "SIGINT" or "SIGTERM" once a stop was requested.
const char* StopSignalName();

// Waits until `fd` reports one of `events` (or a hang-up or an error), the
// deadline passes, or a stop is requested. `fd` < 0 waits on time alone, and
// no deadline waits without limit. Returns the reported events, 0 when none.
short WaitFor(int fd, short events, std::optional<SteadyClock::time_point> deadline);

}  // namespace veltra::sim
