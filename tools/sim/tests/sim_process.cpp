#include "sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace veltra::sim::test {
namespace {

int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

}  // namespace

SimProcess::SimProcess(const std::vector<std::string>& args) {
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<char*> argv;
    std::string program = VELTRA_SIM_BINARY;
    argv.push_back(program.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    const int rc = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    out_ = out[0];
    err_ = err[0];
    if (rc != 0) {
        throw std::runtime_error("cannot start " + program);
    }
}

SimProcess::~SimProcess() {
    if (!reaped_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    close(out_);
    close(err_);
}

void SimProcess::Collect(int fd, std::string& into) {
    char buf[4096];
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) {
            return;
        }
        into.append(buf, static_cast<std::size_t>(n));
    }
}

std::optional<std::string> SimProcess::FirstLine(Clock::duration timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (auto nl = outText_.find('\n'); nl != std::string::npos) {
            return outText_.substr(0, nl);
        }
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, RemainingMs(deadline)) <= 0) {
            return std::nullopt;
        }
        char buf[256];
        const ssize_t n = read(out_, buf, sizeof buf);
        if (n <= 0) {
            return std::nullopt;
        }
        outText_.append(buf, static_cast<std::size_t>(n));
    }
}

void SimProcess::Signal(int signo) {
    kill(pid_, signo);
}

std::optional<int> SimProcess::Wait(Clock::duration timeout) {
    const auto deadline = Clock::now() + timeout;
    // Polling with a deadline: there is no portable wait-with-timeout.
    int status = 0;
    for (;;) {
        const pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            reaped_ = true;
            break;
        }
        if (Clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(5ms);
    }
    Collect(err_, errText_);
    if (!WIFEXITED(status)) {
        return std::nullopt;
    }
    return WEXITSTATUS(status);
}

std::string SimProcess::Stderr() {
    return errText_;
}

int RunSim(const std::vector<std::string>& args) {
    SimProcess p(args);
    return p.Wait(60s).value_or(-1);
}

std::string ReadSome(int fd, std::size_t n, Clock::duration timeout) {
    const auto deadline = Clock::now() + timeout;
    std::string got;
    char buf[4096];
    while (got.size() < n) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, RemainingMs(deadline)) <= 0) {
            break;
        }
        const ssize_t r = read(fd, buf, std::min(sizeof buf, n - got.size()));
        if (r <= 0) {
            break;
        }
        got.append(buf, static_cast<std::size_t>(r));
    }
    return got;
}

std::string ReadAll(int fd, Clock::duration timeout) {
    return ReadSome(fd, std::string::npos - 1, timeout);
}

std::string FileContents(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

}  // namespace veltra::sim::test
