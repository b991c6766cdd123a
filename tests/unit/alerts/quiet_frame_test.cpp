// A detector repeats the same frame for most of a drive. Once the receive
// path has seen a frame, every later copy of it must go through reception,
// decoding and the log comparison without touching the heap.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "alerts/receive_path.h"
#include "support/fakes.h"
#include "support/frames.h"
#include "unit/alerts/counting_new.h"

namespace veltra {
namespace {

using test::AllocationsDuring;
using test::Bytes;

// Records nothing per call, so that it allocates nothing itself; a line
// that reaches the log is counted.
struct QuietParts : DisplayView, AlertHooks, LogSink {
    void ShowState(const DisplayState&) override { ++shown; }
    void BeginAlert() override {}
    void EndAlert() override {}
    std::optional<std::string> AppendLine(std::string_view) override {
        ++lines;
        return std::nullopt;
    }
    std::string Name() const override { return "temp.log"; }
    int shown = 0;
    int lines = 0;
};

class QuietFrameTest : public ::testing::Test {
protected:
    QuietFrameTest() { path.LogData = true; }

    // One frame per read, or split in two reads as a slow line delivers it.
    void Send(const Bytes& frame, std::size_t split = 0) {
        if (split == 0) {
            path.onBytesReceived(kCommEventReceive, frame);
            return;
        }
        path.onBytesReceived(kCommEventReceive, std::span(frame).first(split));
        path.onBytesReceived(kCommEventReceive, std::span(frame).subspan(split));
    }

    static Bytes Showing(int dots) {
        DisplayState s;
        for (int i = 0; i < dots; ++i) {
            s.Signal[static_cast<std::size_t>(i)] = true;
        }
        s.Band[kKa] = dots > 0;
        s.Segment[6] = s.Segment[7] = true;
        return test::FrameBytes(s);
    }

    QuietParts parts;
    test::FakeWindow window;
    test::FakeTimeOfDay clock;
    test::FakePrompt prompt;
    ReceivePath path{parts, parts, window, parts, clock, prompt};
};

TEST_F(QuietFrameTest, ARepeatedFrameAllocatesNothingWholeOrSplit) {
    const Bytes frame = Showing(3);
    for (int i = 0; i < 4; ++i) {
        Send(frame);
    }
    ASSERT_EQ(parts.lines, 1);
    const int shownBefore = parts.shown;

    EXPECT_EQ(AllocationsDuring([&] {
                  for (int i = 0; i < 200; ++i) {
                      Send(frame);
                  }
              }),
              0);
    EXPECT_EQ(AllocationsDuring([&] {
                  for (int i = 0; i < 200; ++i) {
                      Send(frame, 12);
                  }
              }),
              0);
    // The frames were decoded, not skipped, and logged once only.
    EXPECT_EQ(parts.shown, shownBefore + 400);
    EXPECT_EQ(parts.lines, 1);
}

TEST_F(QuietFrameTest, AChangeIsComposedAndLoggedThenItsRepeatsAreQuietAgain) {
    const Bytes two = Showing(2);
    const Bytes five = Showing(5);
    for (int i = 0; i < 4; ++i) {
        Send(two);
    }
    // The watch sees allocations: the changed frame's time-stamped line.
    EXPECT_GT(AllocationsDuring([&] {
                  Send(five);
                  Send(five);
              }),
              0);
    EXPECT_EQ(parts.lines, 2);
    EXPECT_EQ(AllocationsDuring([&] {
                  for (int i = 0; i < 100; ++i) {
                      Send(five, 7);
                  }
              }),
              0);
    EXPECT_EQ(parts.lines, 2);
}

}  // namespace
}  // namespace veltra
