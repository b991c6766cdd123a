// Frames that queued up while the program was busy (starting, or on a loaded
// machine) all come out with the read that brings them, so the face and the
// log never trail the detector by the length of the queue.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/program_harness.h"

namespace veltra::e2e {
namespace {

TEST(Backlog, AQueueOfFramesIsWorkedOffByTheReadThatBringsIt) {
    DetectorPty pty;
    Program program(pty.device());
    program.setSetting("LogData", "True");
    program.setSetting("AutoMute", "0");
    program.setSetting("AutoHide", "0");
    pty.feed(Frame(false));
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(WaitUntil([&] { return program.holdsOpen(pty.device()); }));
    const auto log = program.programDir() / "temp.log";
    ASSERT_TRUE(WaitUntil([&] { return Lines(ReadAll(log)).size() == 1; }));

    // Forty idle frames at once, then an alert and the sync byte that
    // completes it; then nothing more. Taken one frame per arrival, the
    // alert would wait behind the queue for arrivals that never come.
    pty.stopFeeding();
    std::vector<std::uint8_t> burst;
    for (int i = 0; i < 40; ++i) {
        const auto idle = Frame(false);
        burst.insert(burst.end(), idle.begin(), idle.end());
    }
    const auto alert = Frame(true);
    burst.insert(burst.end(), alert.begin(), alert.end());
    burst.push_back(0xFE);
    pty.write(burst);
    EXPECT_TRUE(
        WaitUntil([&] { return Lines(ReadAll(log)).size() == 2; }, std::chrono::seconds(5)));
    const auto lines = Lines(ReadAll(log));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find("Ka"), std::string::npos) << lines[1];
    pty.feed(alert);
}

}  // namespace
}  // namespace veltra::e2e
