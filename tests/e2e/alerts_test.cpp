// The alert cycle at the real program: hiding after an alert, the mute
// pulse on the line, and the alert log against veltrascope-decode.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/program_harness.h"

namespace veltra::e2e {
namespace {

using Clock = std::chrono::steady_clock;

// What follows the time of day in a log line.
std::vector<std::string> Contents(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& l : lines) {
        const auto at = l.find(" - ");
        out.push_back(at == std::string::npos ? "(no time field) " + l : l.substr(at + 3));
    }
    return out;
}

TEST(AlertCycle, AutoHideHidesTheWindowAboutTwoSecondsAfterTheAlertEnds) {
    DetectorPty pty;
    pty.feed(Frame(true));
    Program program(pty.device());
    program.setSetting("AutoHide", "1");
    program.setSetting("AutoHideTime", "1");
    program.setSetting("AutoMute", "0");
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(WaitUntil([&] { return program.holdsOpen(pty.device()); }));
    // The alert runs a while, the window stays.
    const auto alertUntil = Clock::now() + std::chrono::milliseconds(1500);
    while (Clock::now() < alertUntil) {
        ASSERT_TRUE(program.mapped());
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    pty.feed(Frame(false));
    const auto ended = Clock::now();
    ASSERT_TRUE(WaitUntil([&] { return !program.mapped(); }));
    const double seconds = std::chrono::duration<double>(Clock::now() - ended).count();
    std::printf("hidden %.2f s after the alert ended\n", seconds);
    // One-second ticks: the count starts on the tick after the end.
    EXPECT_GT(seconds, 0.9);
    EXPECT_LT(seconds, 4.0);

    // The next alert brings it back.
    pty.feed(Frame(true));
    EXPECT_TRUE(WaitUntil([&] { return program.mapped(); }));
}

TEST(AlertCycle, AutoMutePulsesDtrOnThePortForAboutATenthOfASecond) {
    DetectorPty pty;
    pty.feed(Frame(false));
    Program program(pty.device());
    program.setSetting("AutoMute", "1");
    program.setSetting("AutoMuteTime", "0");
    program.setSetting("AutoHide", "0");
    const auto trace = program.scratch() / "ioctl.trace";
    ASSERT_TRUE(program.start("strace -f -tt -e trace=ioctl,openat -o " + trace.string()));
    ASSERT_TRUE(WaitUntil([&] { return program.holdsOpen(pty.device()); }));
    pty.feed(Frame(true));

    // The port's descriptor, from the call that opened the device.
    std::string fd;
    std::smatch m;
    const std::regex pulse(
        "([0-9]+):([0-9]+):([0-9.]+) ioctl\\(([0-9]+), TIOCMBI([SC]), \\[TIOCM_DTR\\]\\)");
    struct Change {
        double at;
        char what;
    };
    std::vector<Change> changes;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const std::string text = ReadAll(trace);
            if (fd.empty() && std::regex_search(text, m,
                                                std::regex("openat\\([^\"]*\"" + pty.device() +
                                                           "\"[^)]*\\) = ([0-9]+)"))) {
                fd = m[1];
            }
            changes.clear();
            for (auto it = std::sregex_iterator(text.begin(), text.end(), pulse);
                 it != std::sregex_iterator(); ++it) {
                const auto& c = *it;
                if (c[4] != fd) {
                    continue;
                }
                const double at =
                    std::stoi(c[1]) * 3600.0 + std::stoi(c[2]) * 60.0 + std::stod(c[3]);
                changes.push_back({at, c[5].str()[0]});
            }
            // Opening lowers DTR; the pulse is the raise and the lowering after it.
            for (size_t i = 0; i + 1 < changes.size(); ++i) {
                if (changes[i].what == 'S' && changes[i + 1].what == 'C') {
                    return true;
                }
            }
            return false;
        },
        std::chrono::seconds(20)))
        << "port fd " << fd << "\n"
        << ReadAll(trace).substr(0, 4000);
    for (size_t i = 0; i + 1 < changes.size(); ++i) {
        if (changes[i].what == 'S') {
            const double held = changes[i + 1].at - changes[i].at;
            std::printf("DTR held %.3f s\n", held);
            EXPECT_GE(held, 0.1);
            EXPECT_LT(held, 1.0);
            break;
        }
    }
}

// A recorded drive, played to the program at line rate with logging on,
// gives the lines veltrascope-decode gives for the same bytes.
TEST(AlertLog, TempLogHoldsTheLinesTheDecoderGivesAndNoDiscardsIt) {
    DetectorPty pty;
    Program program(pty.device());
    program.setSetting("LogData", "True");
    program.setSetting("AutoMute", "0");
    program.setSetting("AutoHide", "0");
    const auto stream = program.scratch() / "drive.raw";
    ASSERT_EQ(std::system((std::string(VELTRA_SIM) +
                           " --scenario mixed --faults --seed 7 --fast --seconds 12 --out " +
                           stream.string() + " >/dev/null 2>&1")
                              .c_str()),
              0);
    // The detector goes on sending after the drive: a dark display from
    // then on.
    const auto dark = Frame(false, Lit::None);
    {
        std::ofstream out(stream, std::ios::binary | std::ios::app);
        for (int i = 0; i < 20; ++i) {
            out.write(reinterpret_cast<const char*>(dark.data()), std::streamsize(dark.size()));
        }
    }
    const std::string bytes = ReadAll(stream);
    ASSERT_GT(bytes.size(), 8000u);

    ASSERT_TRUE(program.start());
    ASSERT_TRUE(WaitUntil([&] { return program.holdsOpen(pty.device()); }));
    // 720 bytes a second, a frame's worth at a time.
    constexpr size_t kStep = 25;
    auto next = Clock::now();
    for (size_t at = 0; at < bytes.size(); at += kStep) {
        const std::string part = bytes.substr(at, kStep);
        pty.write(std::vector<std::uint8_t>(part.begin(), part.end()));
        next += std::chrono::microseconds(kStep * 1000000 / 720);
        std::this_thread::sleep_until(next);
    }
    pty.feed(dark);
    const auto log = program.programDir() / "temp.log";
    const auto expected =
        Contents(Lines(Shell(std::string(VELTRA_DECODE) + " " + stream.string())));
    ASSERT_GT(expected.size(), 5u);
    EXPECT_TRUE(WaitUntil([&] { return Contents(Lines(ReadAll(log))) == expected; }));
    const auto got = Contents(Lines(ReadAll(log)));
    EXPECT_EQ(got, expected);
    // Every line ends in CR LF.
    const std::string raw = ReadAll(log);
    EXPECT_EQ(std::count(raw.begin(), raw.end(), '\n'), std::count(raw.begin(), raw.end(), '\r'));

    // Closing asks whether to save; No throws the log away. The detector
    // keeps sending, so no lost-link message can come in between.
    ASSERT_TRUE(program.close());
    std::string box;
    ASSERT_TRUE(WaitUntil([&] {
        const auto others = program.otherWindows();
        box = others.empty() ? "" : others.front();
        return !box.empty();
    }));
    ASSERT_TRUE(WaitUntil([&] {
        Shell("xdotool windowactivate --sync " + box + " key --clearmodifiers alt+n");
        return WaitUntil([&] { return !program.running(); }, std::chrono::seconds(1));
    }));
    EXPECT_FALSE(std::filesystem::exists(log));
}

}  // namespace
}  // namespace veltra::e2e
