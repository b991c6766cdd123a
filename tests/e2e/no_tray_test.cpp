// The main window on a desktop without a notification area, and when one
// comes or goes while the program runs. Run by the e2e_no_tray test, on an
// X server that scripts/with-x starts without a tray (VELTRA_NO_TRAY=1).

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "e2e/program_harness.h"

namespace veltra::e2e {
namespace {

inline constexpr auto npos = std::string::npos;

bool TrayHostRunning() {
    return !Shell("xdotool search --class trayer 2>/dev/null").empty();
}

// A notification area of the test's own, started and ended at will.
class TrayHost {
public:
    TrayHost() {
        pid_ = fork();
        if (pid_ == 0) {
            execlp("trayer", "trayer", "--edge", "top", "--align", "right", "--widthtype",
                   "request", "--height", "24", "--expand", "true", "--transparent", "false",
                   "--SetDockType", "true", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~TrayHost() { stop(); }
    void stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
};

bool SkipsTaskbar(const Program& program) {
    return program.netWmState().find("_NET_WM_STATE_SKIP_TASKBAR") != npos;
}

bool Iconic(const Program& program) {
    return program.netWmState().find("_NET_WM_STATE_HIDDEN") != npos;
}

// The window manager's list of managed windows, which taskbars and window
// lists show.
bool Listed(const Program& program) {
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%lx", std::stoul(program.window()));
    const std::string list = Shell("xprop -root _NET_CLIENT_LIST 2>/dev/null");
    return (list + ",").find(std::string(hex) + ",") != npos;
}

class NoTray : public ::testing::Test {
protected:
    void SetUp() override {
        if (TrayHostRunning()) {
            GTEST_SKIP() << "needs a desktop without a notification area: "
                            "VELTRA_NO_TRAY=1 scripts/with-x";
        }
        program_.setSetting("AutoConnect", "0");
        ASSERT_TRUE(program_.start());
    }
    Program program_;
};

TEST_F(NoTray, TheWindowLeavesTheTaskbarOnlyWhileATrayHostIsThere) {
    // Minimised first: once the window manager says so, the program has
    // long since settled what it asks of the taskbar.
    Shell("xdotool windowminimize " + program_.window());
    ASSERT_TRUE(WaitUntil([&] { return Iconic(program_); })) << program_.netWmState();
    EXPECT_FALSE(SkipsTaskbar(program_)) << program_.netWmState();
    EXPECT_TRUE(Listed(program_));
    EXPECT_TRUE(program_.trayIcon().empty());

    Shell("xdotool windowactivate --sync " + program_.window());
    ASSERT_TRUE(WaitUntil([&] { return program_.mapped(); }));
    TrayHost tray;
    EXPECT_TRUE(WaitUntil([&] { return SkipsTaskbar(program_); })) << program_.netWmState();
    EXPECT_TRUE(WaitUntil([&] { return !program_.trayIcon().empty(); }));

    tray.stop();
    EXPECT_TRUE(WaitUntil([&] { return !SkipsTaskbar(program_); })) << program_.netWmState();
}

TEST_F(NoTray, AHiddenWindowComesBackToTheTaskbarWhenItsTrayHostGoes) {
    TrayHost tray;
    ASSERT_TRUE(WaitUntil([&] { return !program_.trayIcon().empty(); }));
    Shell("xdotool windowminimize " + program_.window());
    // With a tray host, minimised means hidden: only the icon is left.
    ASSERT_TRUE(WaitUntil([&] { return !program_.mapped() && !Listed(program_); }));

    tray.stop();
    EXPECT_TRUE(WaitUntil([&] { return Listed(program_) && Iconic(program_); }))
        << program_.netWmState();
    EXPECT_FALSE(SkipsTaskbar(program_)) << program_.netWmState();
}

}  // namespace
}  // namespace veltra::e2e
