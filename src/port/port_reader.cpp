#include "port/port_reader.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>

namespace veltra {

PortReader::PortReader(int fd, ReceiveFilter filter, std::size_t capacity, Hooks hooks)
    : fd_(fd),
      filter_(filter),
      capacity_(capacity > 0 ? capacity : kReadSize),
      hooks_(std::move(hooks)),
      stopFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (stopFd_ >= 0) {
        thread_ = std::thread([this] { run(); });
    }
}

PortReader::~PortReader() {
    stop();
    if (stopFd_ >= 0) {
        ::close(stopFd_);
    }
}

void PortReader::stop() {
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    room_.notify_all();
    const std::uint64_t one = 1;
    // An eventfd write of 1 cannot fail short of overflowing the counter.
    [[maybe_unused]] const ssize_t written = ::write(stopFd_, &one, sizeof one);
    thread_.join();
}

bool PortReader::take(Batch& out) {
    std::lock_guard lock(mutex_);
    wakeAsked_ = false;
    if (held_.empty()) {
        return false;
    }
    if (out.empty()) {
        // Swapped, not copied: the two batches' storage goes back and forth
        // and a steady line costs no allocation.
        out.clear();
        std::swap(out, held_);
    } else {
        out.bytes.insert(out.bytes.end(), held_.bytes.begin(), held_.bytes.end());
        out.sizes.insert(out.sizes.end(), held_.sizes.begin(), held_.sizes.end());
        held_.clear();
    }
    room_.notify_all();
    return true;
}

bool PortReader::waitForRoom() {
    std::unique_lock lock(mutex_);
    room_.wait(lock, [this] { return stopping_ || (!parked_ && held_.bytes.size() < capacity_); });
    return !stopping_;
}

bool PortReader::parked() const {
    std::lock_guard lock(mutex_);
    return parked_;
}

void PortReader::resume() {
    {
        std::lock_guard lock(mutex_);
        parked_ = false;
        urgentSeen_ = 0;
        quietSeen_ = 0;
    }
    room_.notify_all();
}

PortReader::HereRead PortReader::readHere(std::span<std::uint8_t, kReadSize> buffer) {
    HereRead result;
    const std::optional<std::size_t> got = readPort(buffer, -1);
    if (!got) {
        result.ended = true;
        return result;
    }
    const std::span<const std::uint8_t> bytes =
        prepare(std::span<const std::uint8_t>(buffer.data(), *got), result.urgent);
    if (bytes.data() != buffer.data()) {
        std::copy(bytes.begin(), bytes.end(), buffer.begin());
    }
    result.size = bytes.size();
    if (result.size > 0) {
        // Counted as the thread counts, from its park (which cleared the
        // quiet count) until resume.
        std::lock_guard lock(mutex_);
        if (result.urgent) {
            quietSeen_ = 0;
        } else {
            result.settled = ++quietSeen_ >= kQuietToResume;
        }
    }
    return result;
}

std::optional<std::size_t> PortReader::readPort(std::span<std::uint8_t, kReadSize> buffer,
                                                short events) {
    const ssize_t got = ::read(fd_, buffer.data(), buffer.size());
    if (got > 0) {
        return static_cast<std::size_t>(got);
    }
    if (got < 0) {
        return errno == EAGAIN || errno == EINTR ? std::optional<std::size_t>(0) : std::nullopt;
    }
    // A raw line reads 0 bytes when nothing waits; only a hang-up ends it.
    if (events < 0) {
        pollfd watched{fd_, POLLIN, 0};
        events = ::poll(&watched, 1, 0) > 0 ? watched.revents : 0;
    }
    return (events & (POLLHUP | POLLERR | POLLNVAL)) == 0 ? std::optional<std::size_t>(0)
                                                          : std::nullopt;
}

std::span<const std::uint8_t> PortReader::prepare(std::span<const std::uint8_t> bytes,
                                                  bool& urgent) {
    urgent = false;
    if (!filter_.passesAll()) {
        filtered_.assign(bytes.begin(), bytes.end());
        filter_.apply(filtered_);
        bytes = filtered_;
    }
    if (!bytes.empty()) {
        urgent = !hooks_.urgent || hooks_.urgent(bytes);
    }
    return bytes;
}

void PortReader::run() {
    std::array<std::uint8_t, kReadSize> buffer;
    std::array<pollfd, 2> watched{pollfd{fd_, POLLIN, 0}, pollfd{stopFd_, POLLIN, 0}};
    while (waitForRoom()) {
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            end();
            return;
        }
        if (watched[1].revents != 0) {
            return;
        }
        if (watched[0].revents == 0) {
            continue;
        }
        const std::optional<std::size_t> got = readPort(buffer, watched[0].revents);
        if (!got) {
            end();
            return;
        }
        if (*got > 0) {
            hold(std::span<const std::uint8_t>(buffer.data(), *got));
        }
    }
}

void PortReader::end() {
    if (hooks_.ended) {
        hooks_.ended();
    }
}

void PortReader::hold(std::span<const std::uint8_t> raw) {
    bool urgent = false;
    const std::span<const std::uint8_t> bytes = prepare(raw, urgent);
    if (bytes.empty()) {
        return;
    }
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        held_.bytes.insert(held_.bytes.end(), bytes.begin(), bytes.end());
        held_.sizes.push_back(static_cast<std::uint32_t>(bytes.size()));
        // A backlog wakes the owner too: a line flooding in faster than the
        // owner's schedule takes it must not be slowed down to that pace.
        const bool backlog = held_.bytes.size() >= capacity_ / 2;
        if ((urgent || backlog) && !wakeAsked_) {
            wakeAsked_ = true;
            wake = true;
        }
        if (urgent) {
            parked_ = ++urgentSeen_ >= kUrgentToPark;
            quietSeen_ = 0;
        } else if (++quietSeen_ >= kQuietToResume) {
            urgentSeen_ = 0;
        }
    }
    if (wake && hooks_.wake) {
        hooks_.wake();
    }
}

}  // namespace veltra
