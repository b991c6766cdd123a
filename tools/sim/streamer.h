#pragma once
// The main loop: takes chunks from the source, spoils some when asked, and
// writes them at line rate (or as fast as the output takes them).

#include <cstdint>
#include <optional>

#include "chunk_source.h"
#include "fault_injector.h"
#include "output.h"

namespace veltra::sim {

struct StreamPlan {
    bool paced = true;
    double speed = 1;                         // multiple of the line rate when paced
    std::optional<std::uint64_t> limitBytes;  // the stream ends exactly here
};

struct StreamOutcome {
    OutputStatus status = OutputStatus::kOk;
    std::uint64_t bytes = 0;  // written in full
};

// `faults` may be null.
StreamOutcome Stream(ChunkSource& source, FaultInjector* faults, Output& out,
                     const StreamPlan& plan);

}  // namespace veltra::sim
