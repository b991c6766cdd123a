// Feeds arbitrary bytes, split into arbitrary receive events, through the
// receive path with the raw label and the log on, and checks it against the
// plain unbounded receiver. Arbitrary text also goes straight to the decoder
// and the hex helpers, which must never read out of bounds.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "alerts/receive_path.h"
#include "link/hex.h"
#include "support/fakes.h"
#include "support/reference_receiver.h"

namespace {

using namespace veltra;

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

bool IsContent(const std::string& c) {
    return c.size() == 29 || c == "All Bogies Mode" || c == "Logic Mode" ||
           c == "Advanced Logic Mode";
}

struct Harness : DisplayView, AlertHooks, LogSink {
    void ShowState(const DisplayState& s) override { Check(IsContent(LogContent(s))); }
    void BeginAlert() override {
        Check(!inAlert);
        inAlert = true;
        if (nested) {
            nested();
        }
    }
    void EndAlert() override {
        Check(inAlert);
        inAlert = false;
    }
    std::optional<std::string> AppendLine(std::string_view line) override {
        Check(line.starts_with("T - "));
        Check(IsContent(std::string(line.substr(4))));
        if (failWrites) {
            return std::string("disk full");
        }
        return std::nullopt;
    }
    std::string Name() const override { return "temp.log"; }
    bool inAlert = false;
    bool failWrites = false;
    std::function<void()> nested;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Harness h;
    test::FakeWindow window;
    test::FakeTimeOfDay clock;
    clock.text = "T";
    test::FakePrompt prompt;
    std::vector<std::string> frames;
    ReceivePath path(h, h, window, h, clock, prompt,
                     [&](std::string_view f) { frames.emplace_back(f); });
    path.ShowRaw = true;
    path.LogData = true;
    h.failWrites = in.ConsumeBool();
    test::ReferenceReceiver ref;
    std::vector<std::string> expected;

    // Sometimes a receive event arrives during BeginAlert, as in the mute pulse.
    std::vector<std::uint8_t> nestedBytes =
        in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegral<std::uint8_t>() % 64);
    bool nestedDone = false;
    if (in.ConsumeBool()) {
        h.nested = [&] {
            if (!nestedDone) {
                nestedDone = true;
                path.onBytesReceived(kCommEventReceive, nestedBytes);
                for (std::string& f : ref.OnReceive(nestedBytes)) {
                    expected.push_back(std::move(f));
                }
            }
        };
    }

    while (in.remaining_bytes() > 0) {
        const int what = in.ConsumeIntegralInRange(0, 15);
        if (what == 0) {
            path.decoder().SetDefaults();
            continue;
        }
        if (what == 1) {
            path.onBytesReceived(in.ConsumeBool() ? 1 : 3, in.ConsumeBytes<std::uint8_t>(8));
            continue;
        }
        if (what == 2) {
            // Text that is no frame at all, straight to the helpers.
            const std::string text = in.ConsumeRandomLengthString(100);
            path.decoder().Process(text);
            Check(Hex2Bin(text).size() == 4 * text.size());
            const int bit = in.ConsumeIntegral<int>();
            const int got = GetBit(text, bit);
            Check(got == 0 || got == 1);
            continue;
        }
        // Mostly long runs so that the buffer bound is exercised.
        const std::size_t n = what == 3 ? 0 : in.ConsumeIntegralInRange<std::size_t>(0, 4096);
        std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(n);
        if (what == 4 && !bytes.empty()) {
            // A run of one byte value, often the sync byte or a long
            // stretch without it. Capped at several times the receiver's
            // bounds (a 1 kB slice, 4 k characters before compaction): a
            // longer run proves nothing more, and every byte of it costs
            // the real receive work twice (receiver and reference).
            bytes.assign(std::min<std::size_t>(bytes.size() * 64, 4096), bytes[0]);
        }
        // The reference goes first: a nested event's frames come out inside
        // this event, after the frames this event's own bytes completed.
        for (std::string& f : ref.OnReceive(bytes)) {
            expected.push_back(std::move(f));
        }
        path.onBytesReceived(kCommEventReceive, bytes);
        Check(path.receiver().RecvCount == ref.count);
        Check(frames == expected);
        Check(path.receiver().RecvBuffer().size() <= ref.buffer.size());
        Check(IsContent(path.logWriter().LastLogLine) || path.logWriter().LastLogLine.empty());
        Check(path.decoder().InAlert == h.inAlert);
    }
    // Told once at most: no line is ever written in between.
    Check(prompt.shown.size() <= 1);
    return 0;
}
