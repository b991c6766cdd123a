#pragma once
// Runs veltrascope-sim as a child process for the tests: its stdout and
// stderr come back through pipes, and every wait has a deadline.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace veltra::sim::test {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args);
    ~SimProcess();

    // The first line the simulator prints (the pty device), without its
    // newline; nothing when none came before the deadline.
    std::optional<std::string> FirstLine(Clock::duration timeout = 10s);

    void Signal(int signo);

    // The exit status; nothing when it has not ended in time or ended by a
    // signal.
    std::optional<int> Wait(Clock::duration timeout = 10s);

    // Everything written to stderr (complete once Wait has returned).
    std::string Stderr();

private:
    void Collect(int fd, std::string& into);

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string outText_;
    std::string errText_;
    bool reaped_ = false;
};

// Runs the simulator to the end and returns its exit status (-1 when it did
// not end within the deadline).
int RunSim(const std::vector<std::string>& args);

// Reads everything from `fd` until end of file or error (a pty whose master
// closed), giving up at the deadline.
std::string ReadAll(int fd, Clock::duration timeout = 30s);

// Reads exactly `n` bytes unless the deadline or the end comes first.
std::string ReadSome(int fd, std::size_t n, Clock::duration timeout = 10s);

std::string FileContents(const std::string& path);

}  // namespace veltra::sim::test
