// Throughput of the receive path as the program runs it: bytes to hex text,
// frames cut, decoded, and the log line composed (logging on, the line
// itself discarded). The line delivers 720 bytes a second, so anything far
// above that leaves the event loop free for the window.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <span>

#include "alerts/receive_path.h"
#include "support/fakes.h"
#include "support/frames.h"

namespace veltra {
namespace {

using test::Bytes;

struct Discard : DisplayView, AlertHooks, LogSink {
    void ShowState(const DisplayState&) override { ++frames; }
    void BeginAlert() override {}
    void EndAlert() override {}
    std::optional<std::string> AppendLine(std::string_view line) override {
        benchmark::DoNotOptimize(line.data());
        ++lines;
        return std::nullopt;
    }
    std::string Name() const override { return "nowhere"; }
    std::int64_t frames = 0;
    std::int64_t lines = 0;
};

// What a detector sends for a drive: the display mostly repeats, and now
// and then an alert comes and goes or the mode changes.
Bytes Drive(std::size_t frames) {
    std::mt19937 rng(11);
    Bytes out;
    DisplayState state;
    for (std::size_t i = 0; i < frames; ++i) {
        if (rng() % 20 == 0) {
            state = test::RandomState(rng);
        }
        test::Append(out, test::FrameBytes(state));
    }
    out.push_back(kSyncByte);
    return out;
}

// Runs `stream` through a fresh receive path in events of `chunk` bytes,
// then drains what is queued, as veltrascope-decode does.
void Run(benchmark::State& bench, const Bytes& stream, std::size_t chunk) {
    std::int64_t frames = 0;
    for (auto _ : bench) {
        Discard sink;
        test::FakeWindow window;
        test::FakeTimeOfDay clock;
        test::FakePrompt prompt;
        ReceivePath path(sink, sink, window, sink, clock, prompt);
        path.LogData = true;
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            path.onBytesReceived(kCommEventReceive, std::span(stream).subspan(
                                                        at, std::min(chunk, stream.size() - at)));
        }
        for (std::uint64_t cuts = ~0ull; cuts != path.receiver().CutCount;) {
            cuts = path.receiver().CutCount;
            path.onBytesReceived(kCommEventReceive, {});
        }
        frames += sink.frames;
        benchmark::DoNotOptimize(sink.lines);
    }
    bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations() * stream.size()));
    bench.counters["frames"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

void BM_CleanFrames(benchmark::State& bench) {
    static const Bytes stream = Drive(40000);  // 1 MB, 23 minutes of line time
    Run(bench, stream, 16);
}
BENCHMARK(BM_CleanFrames)->Unit(benchmark::kMillisecond);

void BM_FramesWithNoise(benchmark::State& bench) {
    static const Bytes stream = [] {
        std::mt19937 rng(12);
        return test::TroubledStream(rng, 30000, 2000);
    }();
    Run(bench, stream, 16);
}
BENCHMARK(BM_FramesWithNoise)->Unit(benchmark::kMillisecond);

// 1 MB with no sync byte: before any sync byte (arg 0), or after one, where
// it makes one over-long candidate (arg 1).
void BM_LongRunWithoutSync(benchmark::State& bench) {
    std::mt19937 rng(13);
    Bytes stream;
    if (bench.range(0) == 1) {
        stream.push_back(kSyncByte);
    }
    test::Append(stream, test::Noise(rng, 1 << 20));
    Run(bench, stream, 16);
}
BENCHMARK(BM_LongRunWithoutSync)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A whole recording in one event: 40 000 frames queue up and come out one
// per event while draining.
void BM_DrainQueuedFrames(benchmark::State& bench) {
    static const Bytes stream = Drive(40000);
    Run(bench, stream, stream.size());
}
BENCHMARK(BM_DrainQueuedFrames)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltra

BENCHMARK_MAIN();
