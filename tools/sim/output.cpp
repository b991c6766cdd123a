#include "output.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tty_line.h"

namespace veltra::sim {
namespace {

using namespace std::chrono_literals;

// How often the arrival of a reader is looked for; neither a pty nor a FIFO
// announces it.
constexpr auto kReaderPoll = 10ms;
// At the end of a stream: how long the reader's queue has to stay empty
// before the reader counts as having everything, and how long a reader that
// takes nothing is waited for.
constexpr auto kDrainQuiet = 250ms;
constexpr auto kDrainStuck = 5s;
// The wait at the end when the reader's queue cannot be looked at.
constexpr auto kDrainGrace = 1s;

std::string Reason(const std::string& what, int err) {
    return what + ": " + std::strerror(err);
}

}  // namespace

Output::~Output() {
    if (fd_ >= 0 && fd_ != STDOUT_FILENO) {
        close(fd_);
    }
}

std::unique_ptr<Output> Output::CreatePty(std::string& error) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        error = Reason("cannot create a pseudo-terminal", errno);
        return nullptr;
    }
    char name[128];
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name)) {
        error = Reason("cannot set up the pseudo-terminal", errno);
        close(master);
        return nullptr;
    }
    // Raw, so that the line discipline neither echoes the stream back into
    // the master nor changes a byte. The setting stays with the device when
    // this descriptor closes; it is closed so that a hang-up on the master
    // tells whether anybody else has the device open.
    const int slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios t{};
    if (slave < 0 || tcgetattr(slave, &t) != 0 || (cfmakeraw(&t), tcsetattr(slave, TCSANOW, &t))) {
        error = Reason(std::string("cannot set ") + name + " to raw mode", errno);
        if (slave >= 0) {
            close(slave);
        }
        close(master);
        return nullptr;
    }
    close(slave);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    return std::unique_ptr<Output>(new Output(master, name, true));
}

std::unique_ptr<Output> Output::OpenPath(const std::string& path, std::string& error) {
    if (path == "-") {
        // Left blocking: the descriptor is shared with whoever gave it to us.
        return std::unique_ptr<Output>(new Output(STDOUT_FILENO, "stdout", false));
    }
    struct stat st {};
    const bool exists = stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        error = "cannot write to " + path + ": it is a directory";
        return nullptr;
    }
    if (exists && S_ISFIFO(st.st_mode)) {
        // Opened once a reader is there (WaitForReader).
        auto out = std::unique_ptr<Output>(new Output(-1, path, false));
        out->fifo_ = true;
        return out;
    }
    int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK;
    if (!exists || S_ISREG(st.st_mode)) {
        flags |= O_CREAT | O_TRUNC;
    }
    const int fd = open(path.c_str(), flags, 0644);
    if (fd < 0) {
        error = Reason("cannot open " + path, errno);
        return nullptr;
    }
    if (isatty(fd) && !SetLine7200(fd, error)) {
        error = "cannot set up the line " + path + ": " + error;
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<Output>(new Output(fd, path, false));
}

bool Output::ReaderGone() {
    pollfd p{fd_, 0, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR));
}

OutputStatus Output::WaitForReader() {
    for (;;) {
        if (pty_ && !ReaderGone()) {
            return OutputStatus::kOk;
        }
        if (fifo_ && fd_ < 0) {
            fd_ = open(name_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd_ >= 0) {
                return OutputStatus::kOk;
            }
            if (errno != ENXIO) {
                error_ = Reason("cannot open " + name_, errno);
                return OutputStatus::kFailed;
            }
        }
        if (!pty_ && !fifo_) {
            return OutputStatus::kOk;
        }
        WaitFor(-1, 0, SteadyClock::now() + kReaderPoll);
        if (StopRequested()) {
            return OutputStatus::kStopped;
        }
    }
}

OutputStatus Output::WaitForNextReader() {
    if (fifo_ && fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    return WaitForReader();
}

OutputStatus Output::WaitUntil(SteadyClock::time_point deadline) {
    for (;;) {
        const short events = WaitFor(fd_, 0, deadline);
        if (StopRequested()) {
            return OutputStatus::kStopped;
        }
        if (events & (POLLHUP | POLLERR)) {
            return OutputStatus::kReaderGone;
        }
        if (SteadyClock::now() >= deadline) {
            return OutputStatus::kOk;
        }
    }
}

OutputStatus Output::Write(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const short events = WaitFor(fd_, POLLOUT, std::nullopt);
        if (StopRequested()) {
            return OutputStatus::kStopped;
        }
        // A pty master still takes bytes after its reader has gone, into a
        // buffer nobody will read: the hang-up has to be looked at first.
        if (events & (POLLHUP | POLLERR)) {
            return OutputStatus::kReaderGone;
        }
        if (events & POLLNVAL) {
            error_ = "cannot write to " + name_ + ": the descriptor is not open";
            return OutputStatus::kFailed;
        }
        if (!(events & POLLOUT)) {
            continue;
        }
        const ssize_t n = write(fd_, bytes.data(), bytes.size());
        if (n > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(n));
        } else if (n < 0 && (errno == EIO || errno == EPIPE)) {
            return OutputStatus::kReaderGone;
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            error_ = Reason("writing to " + name_ + " failed", errno);
            return OutputStatus::kFailed;
        }
    }
    return OutputStatus::kOk;
}

int Output::ReaderQueue() const {
    // Opened only for the look: holding the device open would hide the
    // hang-up that tells when the reader leaves.
    const int slave = open(name_.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        return -1;
    }
    int queued = 0;
    if (ioctl(slave, FIONREAD, &queued) != 0) {
        queued = -1;
    }
    close(slave);
    return queued;
}

void Output::Drain() {
    if (!pty_) {
        return;
    }
    // What the reader has not read yet sits partly in the device's input
    // queue, which FIONREAD shows, and partly in the kernel's buffer in
    // front of it, which nothing shows; the latter moves on as soon as the
    // queue has room. So the reader has everything once the queue has stayed
    // empty for a while. A reader that stops reading is given up on.
    auto emptySince = SteadyClock::now();
    auto progressAt = emptySince;
    int last = -1;
    while (!StopRequested() && !ReaderGone()) {
        const auto now = SteadyClock::now();
        const int queued = ReaderQueue();
        if (queued < 0) {
            // A reader holding the device exclusively (as serial libraries
            // do) keeps others from opening it. Paced, at most a frame or two
            // is still on its way, so a short grace does.
            WaitUntil(now + kDrainGrace);
            return;
        }
        if (queued > 0) {
            emptySince = now;
        }
        if (queued != last) {
            progressAt = now;
            last = queued;
        }
        if (now - emptySince >= kDrainQuiet) {
            return;
        }
        if (now - progressAt >= kDrainStuck) {
            std::fprintf(stderr,
                         "veltrascope-sim: the reader of %s stopped reading; %d bytes are "
                         "left unread\n",
                         name_.c_str(), queued);
            return;
        }
        WaitFor(-1, 0, now + kReaderPoll);
    }
}

}  // namespace veltra::sim
