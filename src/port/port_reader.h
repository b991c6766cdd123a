#pragma once
// Reads an open port on a thread of its own, so that the program's event
// loop is woken only for reads it has to handle now. A detector sends its
// display some thirty times a second and it rarely changes: woken for every
// read, the whole event loop runs for nothing, while a thread blocked in the
// port costs about as little as a terminal reading the line.
//
// Every read is kept, in order, until the owner takes it. A read the
// urgency test passes asks the owner, through `wake`, to take what is held;
// the others wait for that, or for the owner's own schedule, unless they
// fill half of `capacity`. While the owner leaves `capacity` bytes untaken
// the thread stops reading, as a port's full input buffer would.
//
// When nearly every read is urgent (the display changes with every frame)
// the thread only adds a wake-up to each read. It then parks: it stops
// reading, and the owner, once it has taken what is held, reads the port
// itself through readHere until reads turn quiet again, and then resumes the
// thread. The thread and readHere never read at the same time.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "port/receive_filter.h"

namespace veltra {

class PortReader {
public:
    struct Hooks {
        // On the reading thread (or, in readHere, the owner's): must the
        // owner see these bytes at once? Empty: every read is urgent.
        std::function<bool(std::span<const std::uint8_t> bytes)> urgent;
        // On the reading thread: call take soon.
        std::function<void()> wake;
        // On the reading thread, once, as it stops for good: the line is
        // gone (the device vanished, the other end hung up).
        std::function<void()> ended;
    };

    // Reads held for the owner: bytes of successive reads back to back, and
    // the length of each read.
    struct Batch {
        std::vector<std::uint8_t> bytes;
        std::vector<std::uint32_t> sizes;
        bool empty() const { return sizes.empty(); }
        void clear() {
            bytes.clear();
            sizes.clear();
        }
    };

    // The most one read takes: a second of the line is 720 bytes.
    static constexpr std::size_t kReadSize = 4096;

    // `fd` is an open, non-blocking port; it stays the caller's and must
    // stay open until stop returns. Reads go through `filter` first.
    PortReader(int fd, ReceiveFilter filter, std::size_t capacity, Hooks hooks);
    ~PortReader();
    PortReader(const PortReader&) = delete;
    PortReader& operator=(const PortReader&) = delete;

    // False when no thread could be started (the system refused an event
    // descriptor); the owner then reads the port itself.
    bool running() const { return thread_.joinable(); }
    // Ends the thread and waits for it. What it read stays to be taken.
    void stop();

    // Appends every held read to `out`, in order. False when none was held.
    bool take(Batch& out);

    // The thread has parked: the owner reads the port now (readHere).
    bool parked() const;
    // Hands reading back to the thread.
    void resume();

    struct HereRead {
        // The filtered bytes, at the start of the caller's buffer.
        std::size_t size = 0;
        bool urgent = false;
        // The line is gone, as for Hooks::ended.
        bool ended = false;
        // Reads have turned quiet: hand reading back to the thread (resume).
        bool settled = false;
    };
    // While parked, one read on the caller's thread, as the thread would
    // make it: filtered, and asked about.
    HereRead readHere(std::span<std::uint8_t, kReadSize> buffer);

    // The thread parks at its third urgent read, unless eight quiet reads
    // in a row came in between; the owner hands reading back after eight
    // quiet reads in a row. A line that splits each frame over two reads
    // still counts as busy.
    static constexpr int kUrgentToPark = 3;
    static constexpr int kQuietToResume = 8;

private:
    void run();
    // Waits until there is room for another read and the thread is not
    // parked; false when stopping.
    bool waitForRoom();
    void hold(std::span<const std::uint8_t> bytes);
    // Filters `bytes` and asks the urgency test; the result may live in
    // filtered_.
    std::span<const std::uint8_t> prepare(std::span<const std::uint8_t> bytes, bool& urgent);
    // One read of the port into `buffer`: its size, 0 when nothing was
    // there, nothing when the line is gone. `events` are what poll reported
    // for the port, or -1 when it was not asked.
    std::optional<std::size_t> readPort(std::span<std::uint8_t, kReadSize> buffer, short events);
    void end();

    const int fd_;
    ReceiveFilter filter_;
    const std::size_t capacity_;
    Hooks hooks_;
    int stopFd_ = -1;

    mutable std::mutex mutex_;
    std::condition_variable room_;
    Batch held_;
    bool wakeAsked_ = false;
    bool stopping_ = false;
    bool parked_ = false;
    // Urgent and quiet reads since the count last began: the thread's,
    // and while parked readHere's.
    int urgentSeen_ = 0;
    int quietSeen_ = 0;

    std::vector<std::uint8_t> filtered_;
    std::thread thread_;
};

}  // namespace veltra
