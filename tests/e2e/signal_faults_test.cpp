// The program ended from outside: by the signals a desktop sends at logout,
// Ctrl-C and a closed terminal, and killed outright while it logs.

#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <regex>
#include <string>
#include <thread>

#include "e2e/fault_support.h"
#include "e2e/program_harness.h"

namespace veltra::e2e {
namespace {

constexpr const char* kAlertContent = "    Ka   2 **        /\\      ";

void LogEverything(Program& program) {
    program.setSetting("LogData", "True");
    program.setSetting("AutoMute", "0");
    program.setSetting("AutoHide", "0");
}

bool Logged(const Program& program) {
    return ReadAll(program.programDir() / "temp.log").find(kAlertContent) != std::string::npos;
}

// Waits for the end while making sure no box ever came up on the way.
int EndsWithoutABox(Program& program, bool& boxSeen) {
    boxSeen = false;
    int status = -1;
    WaitUntil([&] {
        boxSeen = boxSeen || !program.otherWindows().empty();
        status = program.wait(std::chrono::milliseconds(50));
        return status != -1;
    });
    return status;
}

TEST(Signals, EachEndsTheProgramAsTheCloseBoxWouldButAsksNothing) {
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(sig));
        DetectorPty pty;
        pty.feed(Frame(true));
        Program program(pty.device());
        LogEverything(program);
        const auto trace = program.scratch() / "port.trace";
        // strace shows what happens to the port's line as the program ends.
        const std::string wrapper =
            sig == SIGTERM ? "strace -f -e trace=openat,ioctl,close -o " + trace.string() : "";
        ASSERT_TRUE(program.start(wrapper));
        ASSERT_TRUE(WaitUntil([&] { return Logged(program); }));
        ASSERT_FALSE(program.setting("Width").has_value());

        ASSERT_EQ(kill(program.programPid(), sig), 0);
        bool boxSeen = false;
        EXPECT_EQ(EndsWithoutABox(program, boxSeen), 0);
        EXPECT_FALSE(boxSeen) << "a box came up while ending";
        // Geometry kept, the working log kept with its lines.
        EXPECT_TRUE(program.setting("Width").has_value());
        EXPECT_TRUE(program.setting("Top").has_value());
        EXPECT_TRUE(Logged(program));

        if (sig == SIGTERM) {
            // DTR lowered on the port's descriptor, then the port closed.
            const std::string text = ReadAll(trace);
            std::smatch m;
            ASSERT_TRUE(std::regex_search(
                text, m, std::regex("openat\\([^\"]*\"" + pty.device() + "\"[^)]*\\) = ([0-9]+)")))
                << text.substr(0, 3000);
            const std::string fd = m[1];
            const auto lowered = text.rfind("ioctl(" + fd + ", TIOCMBIC, [TIOCM_DTR])");
            const auto closed = text.rfind("close(" + fd + ")");
            ASSERT_NE(lowered, std::string::npos);
            ASSERT_NE(closed, std::string::npos);
            EXPECT_LT(lowered, closed);
            EXPECT_EQ(text.find("TIOCMBIS, [TIOCM_DTR]", lowered), std::string::npos);
        }
    }
}

// The user closed the window and the exit question is up when logout (or
// Ctrl-C) comes: nobody answered it, so the working log is neither saved
// nor deleted, and the program still ends as the close box would.
TEST(Signals, WhileTheExitQuestionIsUpKeepTheWorkingLogUntouched) {
    for (int sig : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(sig));
        DetectorPty pty;
        pty.feed(Frame(true));
        Program program(pty.device());
        LogEverything(program);
        ASSERT_TRUE(program.start());
        ASSERT_TRUE(WaitUntil([&] { return Logged(program); }));
        ASSERT_TRUE(program.close());
        // The question comes up as the one box besides the main window.
        ASSERT_TRUE(WaitUntil([&] { return program.otherWindows().size() == 1; }));
        const auto log = program.programDir() / "temp.log";
        const std::string before = ReadAll(log);

        ASSERT_EQ(kill(program.programPid(), sig), 0);
        EXPECT_EQ(program.wait(), 0);
        ASSERT_TRUE(std::filesystem::exists(log)) << "the working log was deleted";
        // Every line logged before the question is still there, in order.
        EXPECT_EQ(ReadAll(log).substr(0, before.size()), before);
        EXPECT_TRUE(program.setting("Width").has_value());
    }
}

// A frame stream in which every frame changes the display, so that every
// frame is a log line.
class Flicker {
public:
    explicit Flicker(DetectorPty& pty)
        : thread_([this, &pty] {
              const auto alert = Frame(true);
              const auto idle = Frame(false);
              for (bool a = false; !stop_; a = !a) {
                  pty.write(a ? alert : idle);
                  std::this_thread::sleep_for(std::chrono::milliseconds(4));
              }
          }) {}
    ~Flicker() {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(Signals, KilledAtAnyMomentWhileLoggingLeavesOnlyWholeLines) {
    DetectorPty pty;
    Program program(pty.device());
    LogEverything(program);
    const auto log = program.programDir() / "temp.log";
    std::mt19937 random(12);
    std::uniform_int_distribution<int> after(50, 400);
    for (int run = 0; run < 6; ++run) {
        // Stopped with each run: with nobody reading, a pty's buffer fills
        // and the writer would block.
        auto flicker = std::make_unique<Flicker>(pty);
        ASSERT_TRUE(program.start());
        const std::size_t before = ReadAll(log).size();
        ASSERT_TRUE(WaitUntil([&] { return ReadAll(log).size() > before; }));
        std::this_thread::sleep_for(std::chrono::milliseconds(after(random)));
        kill(program.programPid(), SIGKILL);
        flicker.reset();
        ASSERT_EQ(program.wait(), 128 + SIGKILL);
    }
    const std::regex whole(
        "[0-9]{1,2}:[0-9]{2}:[0-9]{2}( [AP]M)? - (All Bogies Mode|" +
        std::regex_replace(std::string(kAlertContent), std::regex(R"([\\/*])"), R"(\$&)") +
        ")\r\n");
    const auto lines = RawLines(ReadAll(log));
    EXPECT_GT(lines.size(), 20u);
    for (const std::string& line : lines) {
        EXPECT_TRUE(std::regex_match(line, whole)) << "torn line: [" << line << "]";
    }
}

}  // namespace
}  // namespace veltra::e2e
