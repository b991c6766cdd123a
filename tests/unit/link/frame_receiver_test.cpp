#include "link/frame_receiver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/frames.h"
#include "support/reference_receiver.h"

namespace veltra {
namespace {

using test::Append;
using test::Bytes;
using test::FrameBytes;
using test::FrameText;

class RecordingSink : public FrameSink {
public:
    bool ShowRawChecked() const override { return showRaw; }
    void ShowRawFrame(std::string_view f) override { calls.push_back("raw " + std::string(f)); }
    void Process(std::string_view v) override {
        const std::string f(v);
        calls.push_back("process " + f);
        frames.push_back(f);
        if (onProcess) {
            onProcess(f);
        }
    }
    bool LogDataChecked() const override { return logData; }
    void LogData() override { calls.push_back("log"); }

    bool showRaw = false;
    bool logData = false;
    std::vector<std::string> calls;
    std::vector<std::string> frames;
    std::function<void(const std::string&)> onProcess;
};

class FrameReceiverTest : public ::testing::Test {
protected:
    void Receive(const Bytes& bytes) { rx.onBytesReceived(kCommEventReceive, bytes); }

    RecordingSink sink;
    FrameReceiver rx{sink};
};

DisplayState WithDot(int dot) {
    DisplayState s;
    s.Signal[dot] = true;
    return s;
}

TEST_F(FrameReceiverTest, AFrameIsCutWhenTheNextSyncByteArrives) {
    const Bytes f = FrameBytes(WithDot(3));
    Receive({0x12, 0x34});
    Receive(f);
    EXPECT_TRUE(sink.frames.empty());
    Receive({kSyncByte});
    ASSERT_EQ(sink.frames.size(), 1u);
    EXPECT_EQ(sink.frames[0], FrameText(f));
    EXPECT_EQ(sink.frames[0].size(), 74u);
    EXPECT_EQ(rx.RecvBuffer(), "FE ");
}

// A detector writes one frame at a time: each write's sync byte completes
// the frame before it, then and there, not one write later.
TEST_F(FrameReceiverTest, EachFrameComesOutWithTheWriteThatCompletesIt) {
    for (int dot = 0; dot < 8; ++dot) {
        Receive(FrameBytes(WithDot(dot)));
        ASSERT_EQ(sink.frames.size(), static_cast<std::size_t>(dot)) << "write " << dot;
        if (dot > 0) {
            EXPECT_EQ(sink.frames.back(), FrameText(FrameBytes(WithDot(dot - 1))));
        }
    }
}

TEST_F(FrameReceiverTest, HandsEachFrameToLabelDecoderAndLogAsTheFlagsSayAtThatFrame) {
    const Bytes f = FrameBytes(WithDot(0));
    const std::string text = FrameText(f);
    Receive(f);
    sink.showRaw = true;
    sink.logData = true;
    Receive(f);
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"raw " + text, "process " + text, "log"}));
    sink.calls.clear();
    sink.showRaw = false;
    Receive(f);
    sink.logData = false;
    sink.showRaw = true;
    Receive(f);
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"process " + text, "log", "raw " + text,
                                                    "process " + text}));
}

// A batch that completes several frames (after a stall of the program, or
// from an adapter that delivers in packets) must not leave any queued: with
// one frame arriving per later event, a queue would never drain.
TEST_F(FrameReceiverTest, HandsOnEveryCompleteFrameOfABatchInOrder) {
    sink.logData = true;
    Bytes three;
    for (int dot : {1, 2, 3}) {
        Append(three, FrameBytes(WithDot(dot)));
    }
    Bytes rest = FrameBytes(WithDot(4));
    three.push_back(kSyncByte);
    three.insert(three.end(), rest.begin() + 1, rest.begin() + 10);  // a fourth, incomplete
    Receive(three);
    std::vector<std::string> expected;
    for (int dot : {1, 2, 3}) {
        expected.push_back("process " + FrameText(FrameBytes(WithDot(dot))));
        expected.push_back("log");
    }
    EXPECT_EQ(sink.calls, expected);
    EXPECT_EQ(rx.RecvCount, 1);
    Receive({});
    EXPECT_EQ(sink.frames.size(), 3u) << "the fourth is not complete yet";
    // The rest of the fourth, a bad candidate, and a fifth, in one batch.
    Bytes more(rest.begin() + 10, rest.end());
    Append(more, Bytes{kSyncByte, 0x01, 0x02});
    Append(more, FrameBytes(WithDot(5)));
    more.push_back(kSyncByte);
    Receive(more);
    ASSERT_EQ(sink.frames.size(), 5u);
    EXPECT_EQ(sink.frames[3], FrameText(rest));
    EXPECT_EQ(sink.frames[4], FrameText(FrameBytes(WithDot(5))));
    EXPECT_EQ(rx.RecvBuffer(), "FE ");
}

TEST_F(FrameReceiverTest, OnlyFramesOfExactly74CharactersAreHandedOn) {
    const Bytes good = FrameBytes(WithDot(5));
    // Built at their final size: a copy that then shrinks or grows by one
    // byte trips a false -Warray-bounds in g++ 12 at -O3.
    const Bytes shortFrame(good.begin(), good.end() - 1);  // 24 bytes: 71 characters
    Bytes longFrame(good.size() + 1, 0x00);                // 26 bytes: 77 characters
    std::copy(good.begin(), good.end(), longFrame.begin());
    Bytes split = good;
    split[12] = kSyncByte;  // a data byte 0xFE: two short pieces
    Bytes stream;
    for (const Bytes* b : std::vector<const Bytes*>{&shortFrame, &longFrame, &split, &good}) {
        Append(stream, *b);
    }
    stream.push_back(kSyncByte);
    for (std::uint8_t b : stream) {
        Receive({b});
    }
    ASSERT_EQ(sink.frames.size(), 1u);
    EXPECT_EQ(sink.frames[0], FrameText(good));
}

TEST_F(FrameReceiverTest, CountsReceiveEventsOnlyAndWrapsAfter1000) {
    rx.onBytesReceived(1, FrameBytes(WithDot(0)));
    rx.onBytesReceived(3, {});
    EXPECT_EQ(rx.RecvCount, 0);
    EXPECT_EQ(rx.RecvBuffer(), "");
    for (int i = 1; i <= 1000; ++i) {
        Receive({});
        ASSERT_EQ(rx.RecvCount, i);
    }
    Receive({0x01});
    EXPECT_EQ(rx.RecvCount, 0);
    Receive({});
    EXPECT_EQ(rx.RecvCount, 1);
}

// A nested event loop inside a call out (the mute pulse, a message box) may
// deliver more data before the frame in hand is logged. The nested event
// counts itself for the watchdog, but its frames wait for the outer event,
// so the log never has a later frame's line ahead of an earlier one.
TEST_F(FrameReceiverTest, AnEventHandledInsideTheCallOutsQueuesBehindTheFramesInHand) {
    const Bytes a = FrameBytes(WithDot(1));
    const Bytes b = FrameBytes(WithDot(2));
    const Bytes c = FrameBytes(WithDot(3));
    Bytes both = a;
    Append(both, b);
    both.push_back(kSyncByte);
    Bytes late(c.begin() + 1, c.end());
    late.push_back(kSyncByte);
    sink.logData = true;
    int nested = 0;
    sink.onProcess = [&](const std::string& f) {
        if (f == FrameText(a)) {
            ++nested;
            Receive(late);  // as if it arrived during the mute pulse
            EXPECT_EQ(rx.RecvCount, 2);
        }
    };
    Receive(both);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(sink.calls,
              (std::vector<std::string>{"process " + FrameText(a), "log", "process " + FrameText(b),
                                        "log", "process " + FrameText(c), "log"}));
    EXPECT_EQ(rx.RecvBuffer(), "FE ");
    Receive({});
    EXPECT_EQ(sink.frames.size(), 3u);
}

// Megabytes without a sync byte, inside and outside a candidate, must not
// pile up, and the frame after them must still come out.
TEST_F(FrameReceiverTest, LongRunsWithoutSyncKeepTheBufferSmall) {
    std::mt19937 rng(7);
    const Bytes noise = test::Noise(rng, 4096);
    const Bytes good = FrameBytes(WithDot(4));
    const std::size_t bound = FrameReceiver::kCompactAbove + std::size_t{3} * 1024;
    for (bool afterSync : {false, true}) {
        if (afterSync) {
            Receive({kSyncByte});
        }
        for (int i = 0; i < 1024; ++i) {  // 4 MiB
            Receive(noise);
            ASSERT_LE(rx.RecvBuffer().size(), bound);
        }
        Receive(Bytes(4u << 20, 0x00));  // and 4 MiB in one event
        EXPECT_LE(rx.RecvBuffer().size(), bound);
        EXPECT_LE(rx.Footprint(), 2 * bound);
        Bytes tail = good;
        tail.push_back(kSyncByte);
        Receive(tail);  // after the sync, the over-long candidate is rejected first
        ASSERT_EQ(sink.frames.size(), afterSync ? 2u : 1u);
        EXPECT_EQ(sink.frames.back(), FrameText(good));
    }
}

// The bound may only drop text that can never become part of a frame: every
// frame must come out, and on the same event, as without any bound.
TEST(FrameReceiverBound, ChangesNeitherTheFramesNorTheEventsTheyComeOutOn) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        std::mt19937 rng(seed);
        // It starts with a long run before any sync byte, too.
        Bytes stream = test::Noise(rng, 3 * FrameReceiver::kCompactAbove);
        Append(stream, test::TroubledStream(rng, 1500, 3 * FrameReceiver::kCompactAbove));

        RecordingSink sink;
        FrameReceiver rx(sink);
        test::ReferenceReceiver ref;
        std::vector<std::pair<int, std::string>> got, expected;
        int event = 0;
        sink.onProcess = [&](const std::string& f) { got.emplace_back(event, f); };
        std::size_t at = 0;
        while (at < stream.size()) {
            // Mostly small batches, sometimes large ones, sometimes none.
            const std::size_t want = rng() % 10 == 0 ? rng() % 20000 : rng() % 40;
            const std::size_t n = std::min(want, stream.size() - at);
            const std::span<const std::uint8_t> batch(stream.data() + at, n);
            at += n;
            ++event;
            rx.onBytesReceived(kCommEventReceive, batch);
            for (std::string& f : ref.OnReceive(batch)) {
                expected.emplace_back(event, std::move(f));
            }
            ASSERT_EQ(rx.RecvCount, ref.count);
        }
        ASSERT_GT(expected.size(), 500u) << "the stream should carry many good frames";
        EXPECT_EQ(got, expected) << "seed " << seed;
    }
}

}  // namespace
}  // namespace veltra
