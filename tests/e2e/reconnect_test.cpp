// The program against the detector simulator, as the demo runs them: the
// link can be dropped and taken up again from the File menu.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/program_harness.h"

namespace veltra::e2e {
namespace {

// veltrascope-sim on a pty of its own, ended with the test.
class Simulator {
public:
    explicit Simulator(const std::string& args) {
        int out[2];
        if (pipe(out) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            const std::string cmd = std::string("exec ") + VELTRA_SIM + " " + args;
            execl("/bin/sh", "sh", "-c", cmd.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        // Its first line is the device to connect to.
        FILE* in = fdopen(out[0], "r");
        char line[256] = {};
        if (in != nullptr && std::fgets(line, sizeof line, in) != nullptr) {
            device_ = line;
            while (!device_.empty() && device_.back() == '\n') {
                device_.pop_back();
            }
        }
        if (in != nullptr) {
            std::fclose(in);
        }
    }
    ~Simulator() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& device() const { return device_; }
    bool running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

private:
    pid_t pid_ = -1;
    std::string device_;
};

// Shown windows of the program besides its main window and its tray icon:
// message boxes, whatever their title.
std::vector<std::string> Boxes(const Program& program) {
    std::vector<std::string> boxes;
    std::istringstream all(Shell("xdotool search --all --onlyvisible --pid " +
                                 std::to_string(program.programPid()) + " --name . 2>/dev/null"));
    const std::string icon = program.trayIcon();
    for (std::string w; std::getline(all, w);) {
        if (!w.empty() && w != program.window() && w != icon) {
            boxes.push_back(w);
        }
    }
    return boxes;
}

TEST(ProgramOnSimulator, DisconnectThenConnectPicksTheLinkUpAgain) {
    Simulator sim("--loop --keep-open --scenario mixed");
    ASSERT_EQ(sim.device().rfind("/dev/", 0), 0u) << sim.device();
    Program program(sim.device());
    program.setSetting("AutoMute", "0");
    program.setSetting("AutoHide", "0");
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(WaitUntil([&] { return program.holdsOpen(sim.device()); }));

    Shell("xdotool windowactivate --sync " + program.window() + " key --clearmodifiers alt+f d");
    ASSERT_TRUE(WaitUntil([&] { return !program.holdsOpen(sim.device()); }));
    EXPECT_TRUE(sim.running());

    Shell("xdotool windowactivate --sync " + program.window() + " key --clearmodifiers alt+f c");
    ASSERT_TRUE(WaitUntil([&] { return program.holdsOpen(sim.device()); }))
        << "boxes: " << Boxes(program).size();
    // The link watchdog closes a silent line within two seconds and says so
    // in a box: neither may happen while the simulator streams.
    EXPECT_FALSE(
        WaitUntil([&] { return !Boxes(program).empty(); }, std::chrono::milliseconds(3000)));
    EXPECT_TRUE(program.holdsOpen(sim.device()));
}

}  // namespace
}  // namespace veltra::e2e
