#include "alerts/receive_path.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "shell/posted_prompt.h"
#include "support/fakes.h"
#include "support/frames.h"

namespace veltra {
namespace {

using test::Bytes;

struct Everything : DisplayView, AlertHooks, LogSink {
    void ShowState(const DisplayState&) override { ++shown; }
    void BeginAlert() override {
        log.push_back("BeginAlert");
        if (onBegin) {
            onBegin();
        }
    }
    void EndAlert() override { log.push_back("EndAlert"); }
    std::optional<std::string> AppendLine(std::string_view line) override {
        log.emplace_back(line);
        return std::nullopt;
    }
    std::string Name() const override { return "temp.log"; }
    int shown = 0;
    std::vector<std::string> log;
    std::function<void()> onBegin;
};

class ReceivePathTest : public ::testing::Test {
protected:
    void Receive(const Bytes& b) { path.onBytesReceived(kCommEventReceive, b); }

    Everything all;
    test::FakeWindow window;
    test::FakeTimeOfDay clock;
    test::FakePrompt prompt;
    std::vector<std::string> raw;
    ReceivePath path{
        all, all, window, all, clock, prompt, [this](std::string_view f) { raw.emplace_back(f); }};
};

DisplayState Alerting(bool on) {
    DisplayState s;
    s.Signal[0] = on;
    s.Band[kK] = true;
    return s;
}

TEST_F(ReceivePathTest, FramesReachTheLabelTheDecoderAndTheLogAsTheFlagsSay) {
    const Bytes f = test::FrameBytes(Alerting(false));
    Receive(f);
    Receive(f);
    EXPECT_EQ(all.shown, 1);
    EXPECT_TRUE(raw.empty());
    EXPECT_TRUE(all.log.empty());
    path.ShowRaw = true;
    path.LogData = true;
    Receive(f);
    EXPECT_EQ(raw, std::vector<std::string>{test::FrameText(f)});
    EXPECT_EQ(all.log, std::vector<std::string>{"9:41:07 PM - " + LogContent(Alerting(false))});
    EXPECT_EQ(path.logWriter().LastLogLine, LogContent(Alerting(false)));
}

// A receive event that runs inside BeginAlert (a nested event loop) must
// not get its frame decoded and logged ahead of the frame that began the
// alert: it waits until that frame is through.
TEST_F(ReceivePathTest, AFrameArrivingDuringBeginAlertFollowsTheFrameInHand) {
    path.LogData = true;
    window.state = WindowState::Minimised;
    // The rest of the next frame (its sync byte came with the first) and the
    // sync byte after it.
    Bytes later = test::FrameBytes(Alerting(false));
    later.erase(later.begin());
    later.push_back(kSyncByte);
    all.onBegin = [&] { Receive(later); };
    Bytes first = test::FrameBytes(Alerting(true));
    first.push_back(kSyncByte);
    Receive(first);
    EXPECT_EQ(all.log, (std::vector<std::string>{
                           "BeginAlert", "9:41:07 PM - " + LogContent(Alerting(true)), "EndAlert",
                           "9:41:07 PM - " + LogContent(Alerting(false))}));
    EXPECT_EQ(path.receiver().RecvCount, 2);
    EXPECT_EQ(window.state, WindowState::Normal) << "the alert's frame restored the window";
}

// A box raised from inside the receive event would hold up reception (the
// port announces nothing more until the handler returns). The log's failure
// box is posted: it comes once after the event, and frames keep being
// decoded meanwhile.
TEST(ReceivePathPrompts, AnUnwritableLogIsToldOnceAfterTheReceiveEvent) {
    struct Failing : Everything {
        std::optional<std::string> AppendLine(std::string_view) override {
            return std::string("Is a directory");
        }
    } all;
    test::FakeWindow window;
    test::FakeTimeOfDay clock;
    test::FakePrompt boxes;
    test::FakeTaskQueue later;
    PostedPrompt prompt(boxes, later);
    ReceivePath path(all, all, window, all, clock, prompt);
    path.LogData = true;
    for (bool alert : {true, false, true, false}) {
        Bytes f = test::FrameBytes(Alerting(alert));
        f.push_back(kSyncByte);
        path.onBytesReceived(kCommEventReceive, f);
        path.onBytesReceived(kCommEventReceive, {});
    }
    EXPECT_TRUE(boxes.shown.empty()) << "no box inside the receive event";
    EXPECT_EQ(all.shown, 4) << "decoding went on";
    later.RunAll();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].buttons, PromptButtons::Ok);
    EXPECT_NE(boxes.shown[0].text.find("Is a directory"), std::string::npos);
}

// Frames queue while the program starts or the machine is busy; one read
// then brings several. They all come out of that read, in order, and only
// the unfinished frame stays behind, so the face is never frames behind.
TEST_F(ReceivePathTest, AReadBringingABacklogHandsOnEveryWholeFrameAtOnce) {
    path.LogData = true;
    Bytes backlog;
    for (const bool on : {false, true, true, false, true}) {
        test::Append(backlog, test::FrameBytes(Alerting(on)));
    }
    const Bytes last = test::FrameBytes(Alerting(false));
    test::Append(backlog, Bytes(last.begin(), last.begin() + 10));
    path.OnBytesReceived(2, backlog);
    EXPECT_EQ(all.shown, 5) << "the fifth frame was completed by the sixth's sync byte";
    const std::string off = "9:41:07 PM - " + LogContent(Alerting(false));
    const std::string on = "9:41:07 PM - " + LogContent(Alerting(true));
    EXPECT_EQ(all.log,
              (std::vector<std::string>{off, "BeginAlert", on, "EndAlert", off, "BeginAlert", on}));
    // Ten bytes from its sync byte on (the blank before it goes with the
    // resynchronisation that ends the event).
    EXPECT_EQ(path.receiver().RecvBuffer().size(), 3u * 10) << "the unfinished frame is kept";

    // Caught up: the next read brings one frame and hands on exactly that.
    path.OnBytesReceived(2, Bytes(last.begin() + 10, last.end()));
    EXPECT_EQ(all.shown, 5);
    path.OnBytesReceived(2, test::FrameBytes(Alerting(false)));
    EXPECT_EQ(all.shown, 6);
    EXPECT_FALSE(path.receiver().HoldsWholeCandidate());
    // Spoiled candidates in a backlog are cut and dropped as ever.
    Bytes spoiled{kSyncByte, 1, 2, kSyncByte, 3};
    test::Append(spoiled, test::FrameBytes(Alerting(true)));
    spoiled.push_back(kSyncByte);
    path.OnBytesReceived(2, spoiled);
    EXPECT_EQ(all.shown, 8);
    EXPECT_FALSE(path.receiver().HoldsWholeCandidate());
}

}  // namespace
}  // namespace veltra
