// The receive path at the real program: a box about the log must not stop
// reception, the exit question never loses the log, and the replica keeps
// up with a line that delivers frames faster than one per arrival.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/program_harness.h"

namespace veltra::e2e {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// What follows the time of day in each line of a log.
std::vector<std::string> Contents(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') {
            l.pop_back();
        }
        if (l.empty()) {
            continue;
        }
        const auto at = l.find(" - ");
        out.push_back(at == std::string::npos ? "(no time field) " + l : l.substr(at + 3));
    }
    return out;
}

int LitNow(const Program& program, const fs::path& png) {
    return program.screenshot(png) ? LitPixels(png) : -1;
}

// The working log turns into a folder while the detector is sending: one box
// says so, and behind it the link stays up and the face follows the line.
TEST(ReceiveWhileBoxed, AnUnwritableLogIsToldOnceAndReceptionGoesOn) {
    DetectorPty pty;
    pty.feed(Frame(false));
    Program program(pty.device());
    program.setSetting("LogData", "True");
    program.setSetting("AutoMute", "0");
    program.setSetting("AutoHide", "0");
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(WaitUntil([&] { return program.holdsOpen(pty.device()); }));
    const fs::path log = program.programDir() / "temp.log";
    ASSERT_TRUE(WaitUntil([&] { return !Contents(ReadAll(log)).empty(); }));

    fs::remove(log);
    fs::create_directory(log);
    pty.feed(Frame(true));  // a change of the display: a line to write
    std::vector<std::string> boxes;
    ASSERT_TRUE(WaitUntil([&] { return !(boxes = program.otherWindows()).empty(); }));
    const auto boxUp = Clock::now();

    // The display goes on following the line behind the box, and every
    // change fails to be written again.
    const fs::path shot = program.scratch() / "shot.png";
    for (int round = 0; round < 2; ++round) {
        pty.feed(Frame(false, Lit::None));
        EXPECT_TRUE(WaitUntil([&] { return LitNow(program, shot) == 0; })) << round;
        pty.feed(Frame(true, Lit::All));
        EXPECT_TRUE(WaitUntil([&] { return LitNow(program, shot) > 1000; })) << round;
    }
    // Six seconds of streaming with the box up: the watchdog has had time
    // for several ticks.
    pty.feed(Frame(true));
    std::this_thread::sleep_until(boxUp + std::chrono::seconds(6));
    EXPECT_TRUE(program.holdsOpen(pty.device())) << "the link was closed";
    EXPECT_EQ(program.otherWindows(), boxes) << "exactly one box, and no lost-link message";
    EXPECT_TRUE(fs::is_directory(log));
}

// Escape or the close box on the exit question is no answer: the logged data
// stays as it was, and the program ends as closing was asked for.
TEST(ExitQuestion, EscapeAndTheCloseBoxKeepTheWorkingLog) {
    DetectorPty pty;
    pty.feed(Frame(true));
    for (const bool escape : {true, false}) {
        Program program(pty.device());
        program.setSetting("LogData", "True");
        program.setSetting("AutoMute", "0");
        program.setSetting("AutoHide", "0");
        ASSERT_TRUE(program.start());
        const fs::path log = program.programDir() / "temp.log";
        ASSERT_TRUE(WaitUntil([&] { return !Contents(ReadAll(log)).empty(); }));
        const std::string logged = ReadAll(log);

        ASSERT_TRUE(program.close());
        std::vector<std::string> others;
        ASSERT_TRUE(WaitUntil([&] { return !(others = program.otherWindows()).empty(); }));
        const std::string box = others.front();
        ASSERT_TRUE(WaitUntil([&] {
            if (escape) {
                Shell("xdotool windowactivate --sync " + box + " key --clearmodifiers Escape");
            } else {
                CloseWindow(box);
            }
            return WaitUntil([&] { return !program.running(); }, std::chrono::seconds(1));
        })) << (escape ? "Escape" : "close box");
        EXPECT_EQ(ReadAll(log), logged) << (escape ? "Escape" : "close box");
    }
}

// Writes `bytes` one frame per write (cut before each sync byte), `rate`
// times as fast as the line's 720 bytes a second.
void WriteFrameByFrame(DetectorPty& pty, const std::string& bytes, int rate) {
    auto next = Clock::now();
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find('\xFE', at + 1);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        pty.write(std::vector<std::uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                            bytes.begin() + static_cast<std::ptrdiff_t>(end)));
        next += std::chrono::microseconds((end - at) * 1000000 /
                                          (720 * static_cast<std::size_t>(rate)));
        std::this_thread::sleep_until(next);
        at = end;
    }
}

// Frames that arrive faster than the program's reads deliver them come in
// several to a read. Every one of them must be shown and logged at once, or
// the replica lags the detector from then on: after the burst, a second and
// a half at line rate must leave the log exactly as the decoder reads the
// same bytes.
TEST(ReceiveBacklog, FramesFasterThanTheReadsAreAllHandledWithoutLag) {
    constexpr int kFastSeconds = 10;  // of wall time, at 20 times line rate
    DetectorPty pty;
    Program program(pty.device());
    program.setSetting("LogData", "True");
    program.setSetting("AutoMute", "0");
    program.setSetting("AutoHide", "0");
    const fs::path stream = program.scratch() / "drive.raw";
    ASSERT_EQ(
        std::system((std::string(VELTRA_SIM) + " --scenario mixed --seed 11 --fast --seconds " +
                     std::to_string(20 * kFastSeconds) + " --out " + stream.string() +
                     " >/dev/null 2>&1")
                        .c_str()),
        0);
    const std::string fast = ReadAll(stream);
    ASSERT_GT(fast.size(), 20u * 700u * kFastSeconds);

    // A dark display in steady frames at line rate, after the burst.
    const auto dark = Frame(false, Lit::None);
    std::string steady;
    for (int i = 0; i < 43; ++i) {  // 1.5 s
        steady.append(dark.begin(), dark.end());
    }
    std::ofstream(stream, std::ios::binary | std::ios::app) << steady;

    pty.feed(dark);
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(WaitUntil([&] { return program.holdsOpen(pty.device()); }));
    pty.stopFeeding();
    // What the program logged before the drive: the dark display, once.
    const fs::path log = program.programDir() / "temp.log";
    ASSERT_TRUE(WaitUntil([&] { return Contents(ReadAll(log)).size() == 1; }));
    const auto before = Contents(ReadAll(log));

    WriteFrameByFrame(pty, fast, 20);
    WriteFrameByFrame(pty, steady, 1);
    // The detector keeps sending the dark display; it adds no line.
    pty.feed(dark);

    auto expected = Contents(Shell(std::string(VELTRA_DECODE) + " " + stream.string()));
    ASSERT_GT(expected.size(), 20u);
    expected.insert(expected.begin(), before.begin(), before.end());
    if (expected.size() > 1 && expected[1] == expected[0]) {
        expected.erase(expected.begin());  // the drive began as the display stood
    }
    EXPECT_TRUE(
        WaitUntil([&] { return Contents(ReadAll(log)) == expected; }, std::chrono::seconds(3)));
    const auto got = Contents(ReadAll(log));
    ASSERT_EQ(got.size(), expected.size());
    EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace veltra::e2e
