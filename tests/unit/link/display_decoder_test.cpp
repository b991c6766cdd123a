#include "link/display_decoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/fakes.h"
#include "support/frames.h"

namespace veltra {
namespace {

using test::Bytes;
using test::FrameText;

// Records what the window was told and the alert calls, in one sequence.
struct Recorder : DisplayView, AlertHooks {
    void ShowState(const DisplayState& s) override {
        shown.push_back(s);
        log.push_back("show");
    }
    void BeginAlert() override {
        log.push_back("begin");
        if (onBegin) {
            onBegin();
        }
    }
    void EndAlert() override { log.push_back("end"); }
    int Count(const std::string& what) const {
        return static_cast<int>(std::count(log.begin(), log.end(), what));
    }
    std::vector<DisplayState> shown;
    std::vector<std::string> log;
    std::function<void()> onBegin;
};

class DisplayDecoderTest : public ::testing::Test {
protected:
    // A frame text with the given data bytes set and every other byte 0.
    static std::string Frame(const std::map<int, std::uint8_t>& bytes) {
        Bytes f(25, 0x00);
        f[0] = kSyncByte;
        for (auto [k, v] : bytes) {
            f[k] = v;
        }
        return FrameText(f);
    }
    static std::vector<std::string> LitNames(const DisplayState& s) {
        std::vector<std::string> lit;
        if (s.FrontArrow)
            lit.push_back("front");
        if (s.SideArrow)
            lit.push_back("side");
        if (s.RearArrow)
            lit.push_back("rear");
        for (int i = 1; i <= 7; ++i) {
            if (s.Segment[i])
                lit.push_back("segment " + std::to_string(i));
        }
        for (int i = 0; i < 8; ++i) {
            if (s.Signal[i])
                lit.push_back("signal " + std::to_string(i));
        }
        const char* bands[] = {"Laser", "Ka", "K", "X"};
        for (int i = 0; i < 4; ++i) {
            if (s.Band[i])
                lit.push_back(bands[i]);
        }
        return lit;
    }

    Recorder rec;
    test::FakeWindow window;
    DisplayDecoder decoder{rec, rec, window};
};

TEST_F(DisplayDecoderTest, EachBitOfTheMapLightsItsOneElementAndNoOtherBitLightsAnything) {
    // The detector's bit map, byte by byte.
    const std::map<std::pair<int, int>, std::string> map = {
        {{1, 7}, "segment 5"}, {{2, 0}, "segment 3"}, {{2, 4}, "segment 7"}, {{2, 7}, "segment 6"},
        {{3, 0}, "segment 1"}, {{3, 7}, "signal 7"},  {{4, 0}, "signal 6"},  {{4, 4}, "signal 5"},
        {{4, 7}, "signal 4"},  {{5, 0}, "signal 3"},  {{5, 4}, "signal 2"},  {{5, 7}, "signal 1"},
        {{6, 0}, "signal 0"},  {{6, 4}, "segment 2"}, {{6, 7}, "segment 4"}, {{7, 0}, "K"},
        {{7, 4}, "Ka"},        {{7, 7}, "Laser"},     {{8, 0}, "front"},     {{9, 0}, "side"},
        {{10, 0}, "rear"},     {{11, 4}, "X"},
    };
    for (int byte = 1; byte <= 24; ++byte) {
        for (int bit = 0; bit <= 7; ++bit) {
            decoder.Process(Frame({{byte, static_cast<std::uint8_t>(1u << bit)}}));
            auto it = map.find({byte, bit});
            const std::vector<std::string> expected =
                it == map.end() ? std::vector<std::string>{} : std::vector{it->second};
            EXPECT_EQ(LitNames(decoder.state()), expected) << "byte " << byte << " bit " << bit;
        }
    }
    decoder.Process(Frame({{1, 0xFF},
                           {2, 0xFF},
                           {3, 0xFF},
                           {4, 0xFF},
                           {5, 0xFF},
                           {6, 0xFF},
                           {7, 0xFF},
                           {8, 0xFF},
                           {9, 0xFF},
                           {10, 0xFF},
                           {11, 0xFF}}));
    EXPECT_EQ(LitNames(decoder.state()).size(), 22u);
    decoder.Process(Frame({}));
    EXPECT_EQ(decoder.state(), DisplayState{});
}

TEST_F(DisplayDecoderTest, DecodesWhatTheEncoderBuilds) {
    std::mt19937 rng(3);
    for (int i = 0; i < 500; ++i) {
        const DisplayState s = test::RandomState(rng);
        decoder.Process(FrameText(test::FrameBytes(s)));
        ASSERT_EQ(decoder.state(), s);
        ASSERT_EQ(rec.shown.back(), s);
    }
}

TEST_F(DisplayDecoderTest, AnAlertBeginsAndEndsOnceWithTheFlagSetFirst) {
    const std::string dot = Frame({{6, 0x01}});
    const std::string dark = Frame({{5, 0x80}});
    std::vector<bool> inAlertAtCall;
    rec.onBegin = [&] { inAlertAtCall.push_back(decoder.InAlert); };
    for (int i = 0; i < 10; ++i) {
        decoder.Process(dot);
    }
    EXPECT_EQ(rec.Count("begin"), 1);
    EXPECT_EQ(inAlertAtCall, std::vector<bool>{true});
    // The window is shown the new state before the alert is begun.
    EXPECT_EQ(rec.log[0], "show");
    EXPECT_EQ(rec.log[1], "begin");
    for (int i = 0; i < 3; ++i) {
        decoder.Process(dark);
    }
    EXPECT_EQ(rec.Count("end"), 1);
    EXPECT_FALSE(decoder.InAlert);
    EXPECT_EQ(rec.log.size(), 15u);  // 13 frames shown, one begin, one end
}

TEST_F(DisplayDecoderTest, AMinimisedWindowComesBackOnEveryFrameOfAnAlertOnly) {
    window.state = WindowState::Minimised;
    decoder.Process(Frame({{5, 0x80}}));
    EXPECT_TRUE(window.log.empty());
    decoder.Process(Frame({{6, 0x01}}));
    EXPECT_EQ(window.log, (std::vector<std::string>{"normal", "front", "show"}));
    decoder.Process(Frame({{6, 0x01}}));
    EXPECT_EQ(window.log.size(), 3u);  // not minimised: left alone
    window.state = WindowState::Minimised;
    decoder.Process(Frame({{6, 0x11}}));
    EXPECT_EQ(window.log.size(), 6u);
    EXPECT_EQ(window.state, WindowState::Normal);
    decoder.Process(Frame({}));
    window.state = WindowState::Minimised;
    decoder.Process(Frame({}));
    EXPECT_EQ(window.state, WindowState::Minimised);
}

TEST_F(DisplayDecoderTest, AFrameHandledInsideBeginAlertDoesNotBeginItAgain) {
    window.state = WindowState::Minimised;
    const std::string newer = Frame({{6, 0x01}, {7, 0x80}});
    int nested = 0;
    rec.onBegin = [&] {
        if (nested++ == 0) {
            decoder.Process(newer);
        }
    };
    decoder.Process(Frame({{6, 0x01}}));
    EXPECT_EQ(rec.Count("begin"), 1);
    EXPECT_TRUE(decoder.state().Band[kLaser]) << "the newer frame's state stays";
    EXPECT_EQ(window.state, WindowState::Normal);

    // A newer frame that ends the alert inside BeginAlert: one end, and the
    // outer call no longer restores the window.
    test::FakeWindow window2;
    Recorder rec2;
    DisplayDecoder d2(rec2, rec2, window2);
    window2.state = WindowState::Minimised;
    bool once = false;
    rec2.onBegin = [&] {
        if (!once) {
            once = true;
            d2.Process(Frame({}));
        }
    };
    d2.Process(Frame({{6, 0x01}}));
    EXPECT_EQ(rec2.log, (std::vector<std::string>{"show", "begin", "show", "end"}));
    EXPECT_FALSE(d2.InAlert);
    EXPECT_EQ(window2.state, WindowState::Minimised);
}

TEST_F(DisplayDecoderTest, SetDefaultsDarkensEverythingButLeavesTheAlertGoing) {
    decoder.Process(Frame({{1, 0xFF}, {2, 0xFF}, {6, 0xFF}, {7, 0xFF}, {8, 0x01}, {11, 0x10}}));
    ASSERT_TRUE(decoder.InAlert);
    decoder.SetDefaults();
    EXPECT_EQ(decoder.state(), DisplayState{});
    EXPECT_EQ(rec.shown.back(), DisplayState{});
    EXPECT_TRUE(decoder.InAlert);
    EXPECT_EQ(rec.Count("end"), 0);
    decoder.Process(Frame({{6, 0x01}}));
    EXPECT_EQ(rec.Count("begin"), 1);
    decoder.Process(Frame({}));
    EXPECT_EQ(rec.Count("end"), 1);
}

TEST_F(DisplayDecoderTest, TextShorterThanAFrameReadsTheMissingBytesAsZero) {
    decoder.Process(Frame({{6, 0x01}, {11, 0x10}}).substr(0, 20));
    EXPECT_EQ(LitNames(decoder.state()), std::vector<std::string>{"signal 0"});
    decoder.Process("");
    EXPECT_EQ(decoder.state(), DisplayState{});
}

}  // namespace
}  // namespace veltra
