// A settings store full of garbage, and one that cannot be written, at the
// real program: it starts usable, options work for the run, the user is
// told once.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "e2e/fault_support.h"
#include "e2e/program_harness.h"

namespace veltra::e2e {
namespace {

namespace fs = std::filesystem;

// Usable: on the screen, not absurdly small, answering the window manager.
void ExpectUsableWindow(const Program& program) {
    const Program::Geometry g = program.geometry();
    const std::string screen = Shell("xdotool getdisplaygeometry");
    int sw = 0, sh = 0;
    ASSERT_EQ(std::sscanf(screen.c_str(), "%d %d", &sw, &sh), 2) << screen;
    EXPECT_TRUE(program.mapped());
    EXPECT_GE(g.x, 0);
    EXPECT_GE(g.y, 0);
    EXPECT_GE(g.width, 100);
    EXPECT_GE(g.height, 30);
    EXPECT_LE(g.x + g.width, sw);
    EXPECT_LE(g.y + g.height, sh);
}

TEST(SettingsFaults, AStoreFullOfGarbageStillGivesAUsableWindow) {
    struct Case {
        const char* what;
        std::string text;
    };
    std::string junk = "[Settings]\n";
    for (int i = 0; i < 4096; ++i) {
        junk += static_cast<char>((i * 131 + 7) % 256);
    }
    const std::string absurd =
        "[Settings]\nWidth=1e30\nHeight=-5\nLeft=nan\nTop=inf\nAutoHideTime=1e30\n"
        "AutoMuteTime=-5\nKeepAspectRatio=nan\nHideTitlebar=inf\nOnTop=1e30\nCommPort=-5\n"
        "HideMute=1e400\nAutoConnect=0\n";
    const std::string huge = "[Settings]\nWidth=" + std::string(1 << 20, '9') +
                             "\nAutoHideTime=" + std::string(1 << 20, 'x') + "\nAutoConnect=0\n";
    const std::string repeated =
        "[Settings]\nWidth=9000\nWidth=-1e9\nWidth=abc\n[Settings]\nLeft=99999999\n"
        "Left=-99999999\nAutoConnect=0\n";
    for (const Case& c : {Case{"binary junk", junk}, Case{"absurd numbers", absurd},
                          Case{"a megabyte value", huge}, Case{"repeated keys", repeated}}) {
        SCOPED_TRACE(c.what);
        Program program;
        std::ofstream(program.configFile(), std::ios::binary | std::ios::trunc) << c.text;
        ASSERT_TRUE(program.start());
        ExpectUsableWindow(program);
        // The settings dialog opens over it and the program lives on.
        PressKeys(program, "alt+o s");
        EXPECT_TRUE(WaitUntil([&] { return !WindowsTitled(program, "^Settings").empty(); }));
        EXPECT_TRUE(program.running());
        kill(program.programPid(), SIGTERM);
        EXPECT_EQ(program.wait(), 0);
    }
}

TEST(SettingsFaults, AStoreFileThatIsAFolderIsToldOnceAndOptionsWorkForTheRun) {
    DetectorPty pty;
    pty.feed(Frame(false));
    Program program;
    // The port map lives in the store too, so this program has no detector:
    // the options that need none are checked.
    fs::remove(program.configFile());
    fs::create_directories(program.configFile());
    ASSERT_TRUE(program.start());
    ExpectUsableWindow(program);
    // With an empty store the program tries COM 1 (/dev/ttyS0) at start:
    // an error box, or a lost-link report where such a port exists. Answer
    // them until the program is quiet.
    auto boxes = [&] {
        auto all = WindowsTitled(program, "^Error");
        for (const std::string& w : program.otherWindows()) {
            all.push_back(w);
        }
        return all;
    };
    while (WaitUntil([&] { return !boxes().empty(); }, std::chrono::milliseconds(2500))) {
        for (const std::string& box : boxes()) {
            Dismiss(box);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }

    // Options, Log Alert Data: the choice cannot be kept; told once.
    PressKeys(program, "alt+o l");
    ASSERT_TRUE(WaitUntil([&] { return program.otherWindows().size() == 1; }));
    Dismiss(program.otherWindows().front());
    ASSERT_TRUE(WaitUntil([&] { return program.otherWindows().empty(); }));
    for (int toggle = 0; toggle < 3; ++toggle) {
        PressKeys(program, "alt+o l");
        EXPECT_FALSE(WaitUntil([&] { return !program.otherWindows().empty(); },
                               std::chrono::milliseconds(1500)))
            << "told again at toggle " << toggle;
        for (const std::string& box : program.otherWindows()) {
            Dismiss(box);
        }
    }
    kill(program.programPid(), SIGTERM);
    bool boxSeen = false;
    int status = -1;
    WaitUntil([&] {
        boxSeen = boxSeen || !program.otherWindows().empty();
        status = program.wait(std::chrono::milliseconds(50));
        return status != -1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(boxSeen);
    EXPECT_TRUE(fs::is_directory(program.configFile()));
}

TEST(SettingsFaults, AStoreThatCannotBeWrittenStillLogsForTheRun) {
    DetectorPty pty;
    pty.feed(Frame(true));
    Program program(pty.device());
    program.setSetting("AutoMute", "0");
    program.setSetting("AutoHide", "0");
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(WaitUntil([&] { return program.holdsOpen(pty.device()); }));
    // The folder's name taken by a regular file, so nothing below it can be
    // written, whoever runs the test (read in already, the settings stay).
    const fs::path folder = program.configFile().parent_path();
    fs::remove_all(folder);
    std::ofstream(folder) << "in the way";

    PressKeys(program, "alt+o l");
    ASSERT_TRUE(WaitUntil([&] { return program.otherWindows().size() == 1; }));
    Dismiss(program.otherWindows().front());
    // Logging is on for this run all the same.
    const auto log = program.programDir() / "temp.log";
    EXPECT_TRUE(WaitUntil([&] { return ReadAll(log).find("    Ka   2 **") != std::string::npos; }));
    EXPECT_TRUE(program.otherWindows().empty());
    kill(program.programPid(), SIGTERM);
    EXPECT_EQ(program.wait(), 0);
    EXPECT_TRUE(fs::is_regular_file(folder));
}

}  // namespace
}  // namespace veltra::e2e
