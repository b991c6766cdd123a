#include "streamer.h"

#include <cmath>

#include "line_pacer.h"
#include "scenario.h"

namespace veltra::sim {
namespace {

using namespace std::chrono_literals;

// Falling behind the schedule by more than this means the reader held the
// stream up, not that the machine was busy for a moment.
constexpr auto kMaxLag = 250ms;

}  // namespace

StreamOutcome Stream(ChunkSource& source, FaultInjector* faults, Output& out,
                     const StreamPlan& plan) {
    StreamOutcome r;
    LinePacer pacer(SteadyClock::now(),
                    static_cast<int>(std::lround(kLineBytesPerSecond * plan.speed)));
    std::vector<std::uint8_t> chunk;
    while (!plan.limitBytes || r.bytes < *plan.limitBytes) {
        if (!source.Next(chunk)) {
            break;
        }
        if (faults) {
            faults->Apply(chunk);
        }
        if (plan.limitBytes && chunk.size() > *plan.limitBytes - r.bytes) {
            chunk.resize(*plan.limitBytes - r.bytes);
        }
        if (plan.paced) {
            // A chunk goes out when the line would have carried its last byte.
            const std::uint64_t through = r.bytes + chunk.size();
            pacer.KeepUp(through, SteadyClock::now(), kMaxLag);
            r.status = out.WaitUntil(pacer.DueAt(through));
            if (r.status != OutputStatus::kOk) {
                return r;
            }
        }
        r.status = out.Write(chunk);
        if (r.status != OutputStatus::kOk) {
            return r;
        }
        r.bytes += chunk.size();
    }
    return r;
}

}  // namespace veltra::sim
