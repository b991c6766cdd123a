#pragma once
// A pseudo-terminal for the port tests: the test plays the detector on the
// master side while the program's port opens the slave device.

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <cerrno>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace veltra::test {

class Pty {
public:
    Pty() {
        char name[128] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) == 0) {
            path_ = name;
            fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        }
    }
    ~Pty() {
        closeMaster();
        if (slave_ >= 0) {
            ::close(slave_);
        }
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return master_ >= 0 && slave_ >= 0; }
    const std::string& path() const { return path_; }
    // The test's own descriptor of the slave, never read: a second witness
    // of the line's state.
    int slave() const { return slave_; }

    // Writes every byte, letting the event loop drain the line while the
    // pty's buffer is full; false when the deadline passes first.
    bool write(std::span<const std::uint8_t> bytes, int timeoutMs = 10000) {
        QDeadlineTimer deadline(timeoutMs);
        while (!bytes.empty()) {
            ssize_t n = ::write(master_, bytes.data(), bytes.size());
            if (n > 0) {
                bytes = bytes.subspan(static_cast<std::size_t>(n));
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                return false;
            }
            if (deadline.hasExpired()) {
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }
    bool write(const std::vector<std::uint8_t>& bytes) { return write(std::span(bytes)); }

    // The detector goes away: the slave side hangs up.
    void closeMaster() {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace veltra::test
