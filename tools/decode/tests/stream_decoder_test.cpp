#include "stream_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "alerts/log_writer.h"
#include "link/display_decoder.h"
#include "support/fakes.h"
#include "support/frames.h"

namespace veltra::decode {
namespace {

using test::Bytes;

std::string Decode(const Bytes& stream, std::size_t chunk, bool events = true) {
    std::ostringstream out, errors;
    StreamDecoder d(out, errors, events);
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
        const std::size_t n = std::min(chunk, stream.size() - at);
        d.Receive(std::span(stream.data() + at, n));
    }
    d.Drain();
    EXPECT_EQ(errors.str(), "");
    return out.str();
}

// What the log must say, worked out on the bytes themselves: a frame is 25
// bytes from one sync byte to just before the next, and it is logged when
// that next sync byte arrives.
std::string Expected(const Bytes& stream) {
    struct Quiet : DisplayView, AlertHooks {
        void ShowState(const DisplayState&) override {}
        void BeginAlert() override {}
        void EndAlert() override {}
    } quiet;
    test::FakeWindow window;
    DisplayDecoder decoder(quiet, quiet, window);
    std::vector<std::size_t> syncs;
    for (std::size_t i = 0; i < stream.size(); ++i) {
        if (stream[i] == kSyncByte) {
            syncs.push_back(i);
        }
    }
    std::string out, last;
    bool alert = false;
    for (std::size_t i = 0; i + 1 < syncs.size(); ++i) {
        if (syncs[i + 1] - syncs[i] != kFrameBytes) {
            continue;
        }
        decoder.Process(test::FrameText(Bytes(stream.begin() + static_cast<long>(syncs[i]),
                                              stream.begin() + static_cast<long>(syncs[i + 1]))));
        const DisplayState& s = decoder.state();
        if (s.Signal[0] != alert) {
            alert = s.Signal[0];
            out += alert ? "BeginAlert\n" : "EndAlert\n";
        }
        const std::string content = LogContent(s);
        if (content != last) {
            last = content;
            out += StreamTime(syncs[i + 1] + 1) + " - " + content + "\n";
        }
    }
    return out;
}

TEST(StreamTime, CountsAt720BytesPerSecondAndTruncatesMilliseconds) {
    EXPECT_EQ(StreamTime(0), "0:00:00.000");
    EXPECT_EQ(StreamTime(1), "0:00:00.001");    // 1.39 ms
    EXPECT_EQ(StreamTime(26), "0:00:00.036");   // 36.1 ms
    EXPECT_EQ(StreamTime(719), "0:00:00.998");  // 998.6 ms
    EXPECT_EQ(StreamTime(720), "0:00:01.000");
    EXPECT_EQ(StreamTime(720ull * 3599 + 719), "0:59:59.998");
    EXPECT_EQ(StreamTime(720ull * 36000 + 360), "10:00:00.500");
}

// A stream of its own for every chunk size, so that a thousand sizes meet a
// thousand different streams: noise before the first sync byte, the faults
// of TroubledStream, and one run without a sync byte long enough to make the
// receiver bound its buffer, spliced in anywhere (often inside a frame).
Bytes StreamFor(unsigned seed) {
    std::mt19937 rng(seed);
    Bytes stream = test::Noise(rng, rng() % 3000);
    Bytes body = test::TroubledStream(rng, 80 + static_cast<int>(rng() % 120), 1500 + rng() % 4000);
    const Bytes run = test::Noise(rng, 1500 + rng() % 5000);
    body.insert(body.begin() + static_cast<long>(rng() % body.size()), run.begin(), run.end());
    test::Append(stream, body);
    return stream;
}

TEST(StreamDecoder, PrintsWhatTheBytesSayAtEveryChunkSize) {
    std::size_t lines = 0, alerts = 0;
    for (std::size_t chunk = 1; chunk <= 1000; ++chunk) {
        const Bytes stream = StreamFor(static_cast<unsigned>(chunk));
        const std::string expected = Expected(stream);
        ASSERT_EQ(Decode(stream, chunk), expected) << "chunk " << chunk;
        lines += static_cast<std::size_t>(std::count(expected.begin(), expected.end(), '\n'));
        alerts += expected.find("BeginAlert") != std::string::npos;
    }
    EXPECT_GT(lines, 20000u) << "the streams should carry many changes of the display";
    EXPECT_GT(alerts, 900u);
    // The whole stream in one event, and sizes beyond any frame queue.
    for (std::size_t chunk : {std::size_t{4096}, std::size_t{65536}, std::size_t{1} << 20}) {
        Bytes stream = StreamFor(static_cast<unsigned>(chunk));
        for (unsigned more = 1; more < 8; ++more) {
            test::Append(stream, StreamFor(static_cast<unsigned>(chunk) + more));
        }
        ASSERT_EQ(Decode(stream, chunk), Expected(stream)) << "chunk " << chunk;
    }
}

TEST(StreamDecoder, DrainsFramesQueuedBehindARejectedCandidate) {
    DisplayState a, b;
    a.Band[kKa] = true;
    b.Band[kX] = true;
    Bytes lost = test::FrameBytes(b);
    lost.pop_back();
    Bytes stream = test::FrameBytes(a);
    test::Append(stream, lost);  // rejected, and cut only while draining
    test::Append(stream, test::FrameBytes(b));
    stream.push_back(kSyncByte);
    const std::string out = Decode(stream, stream.size(), false);
    EXPECT_EQ(out, StreamTime(26) + " - " + LogContent(a) + "\n" + StreamTime(75) + " - " +
                       LogContent(b) + "\n");
}

TEST(StreamDecoder, ReportsAlertCallsOnlyWhenAsked) {
    DisplayState on;
    on.Signal[0] = true;
    Bytes stream = test::FrameBytes(on);
    test::Append(stream, test::FrameBytes(DisplayState{}));
    stream.push_back(kSyncByte);
    EXPECT_EQ(Decode(stream, 7, true), "BeginAlert\n" + StreamTime(26) + " - " + LogContent(on) +
                                           "\nEndAlert\n" + StreamTime(51) + " - " +
                                           LogContent(DisplayState{}) + "\n");
    EXPECT_EQ(Decode(stream, 7, false).find("Alert"), std::string::npos);
}

}  // namespace
}  // namespace veltra::decode
