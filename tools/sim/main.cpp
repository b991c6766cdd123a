// veltrascope-sim: a stand-in for the detector at the other end of the line.

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture_source.h"
#include "options.h"
#include "scenario.h"
#include "scenario_frames.h"
#include "shell/version.h"
#include "streamer.h"

namespace {

using namespace veltra::sim;

constexpr int kBadUsage = 2;
constexpr int kWriteFailed = 1;

int Fail(int status, const std::string& message) {
    std::fprintf(stderr, "veltrascope-sim: %s\n", message.c_str());
    return status;
}

std::string StreamTime(std::uint64_t bytes) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f s", double(bytes) / kLineBytesPerSecond);
    return text;
}

std::unique_ptr<ChunkSource> MakeSource(const Options& o, std::string& error) {
    if (o.play) {
        return CaptureSource::Load(*o.play, o.loop, error);
    }
    const auto atEnd = o.loop      ? ScenarioFrames::AtEnd::kRepeat
                       : o.seconds ? ScenarioFrames::AtEnd::kHold
                                   : ScenarioFrames::AtEnd::kStop;
    return std::make_unique<ScenarioFrames>(*BuildScenario(o.scenario, o.seed), atEnd);
}

int Run(const Options& o) {
    InstallStopSignals();
    std::string error;
    auto source = MakeSource(o, error);
    if (!source) {
        return Fail(kBadUsage, error);
    }
    auto out = o.out ? Output::OpenPath(*o.out, error) : Output::CreatePty(error);
    if (!out) {
        return Fail(kBadUsage, error);
    }
    if (out->isPty()) {
        std::printf("%s\n", out->name().c_str());
        std::fflush(stdout);
    }
    if (out->waitsForReader()) {
        std::fprintf(stderr, "veltrascope-sim: waiting for a reader on %s\n", out->name().c_str());
    }
    OutputStatus status = out->WaitForReader();
    StreamOutcome outcome;
    FaultInjector faults(o.seed);
    StreamPlan plan;
    plan.paced = !o.fast;
    plan.speed = o.speed;
    std::optional<std::uint64_t> limit;
    if (o.seconds) {
        limit = static_cast<std::uint64_t>(std::llround(*o.seconds * kLineBytesPerSecond));
    }
    // One pass per reader. With --keep-open, a reader that leaves is not the
    // end: the next one gets the stream from where it stopped, the way a
    // detector's line is there again when the program reconnects.
    while (status == OutputStatus::kOk) {
        if (limit) {
            plan.limitBytes = *limit - outcome.bytes;
        }
        const StreamOutcome pass = Stream(*source, o.faults ? &faults : nullptr, *out, plan);
        outcome.bytes += pass.bytes;
        status = pass.status;
        if (status != OutputStatus::kReaderGone || !o.keepOpen || !out->waitsForReader()) {
            break;
        }
        std::fprintf(stderr,
                     "veltrascope-sim: the reader closed %s after %s of stream; waiting for "
                     "the next reader\n",
                     out->name().c_str(), StreamTime(outcome.bytes).c_str());
        status = out->WaitForNextReader();
    }
    switch (status) {
        case OutputStatus::kOk:
            out->Drain();
            return 0;
        case OutputStatus::kStopped:
            std::fprintf(stderr, "veltrascope-sim: stopped by %s after %s of stream\n",
                         StopSignalName(), StreamTime(outcome.bytes).c_str());
            return 0;
        case OutputStatus::kReaderGone:
            std::fprintf(stderr,
                         "veltrascope-sim: the reader closed %s after %s of stream; stopping\n",
                         out->name().c_str(), StreamTime(outcome.bytes).c_str());
            return 0;
        case OutputStatus::kFailed:
            return Fail(kWriteFailed, out->error());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParsedOptions parsed = ParseOptions(args);
    if (!parsed.error.empty()) {
        return Fail(kBadUsage, parsed.error + "\nTry 'veltrascope-sim --help'.");
    }
    if (parsed.options.help) {
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    }
    if (parsed.options.version) {
        std::fputs(veltra::VersionBanner("veltrascope-sim").c_str(), stdout);
        return 0;
    }
    return Run(parsed.options);
}
