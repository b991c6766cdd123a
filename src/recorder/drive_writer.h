#pragma once
// Writes the drive being recorded from a thread of its own. Reception hands
// bytes over with Append, which only copies them under a lock: a slow, full
// or vanished disk must never hold up the live display or the link watchdog,
// and no write may run inside a message box's nested event loop.

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "recorder/drive_name.h"

namespace veltra::recorder {

class DriveWriter {
public:
    // Called from the writer thread, once per drive, with a message for the
    // user; the caller passes it to its own thread.
    using FailureHandler = std::function<void(const std::string& message)>;

    DriveWriter(std::filesystem::path dir, FailureHandler onFailure);
    // Writes what is pending and ends the thread.
    ~DriveWriter();
    DriveWriter(const DriveWriter&) = delete;
    DriveWriter& operator=(const DriveWriter&) = delete;

    // Starts a drive begun at `start` (ending the one before), keeping the
    // folder within `limitBytes` from then on.
    void Begin(const DriveStart& start, std::uint64_t limitBytes);
    void Append(std::span<const std::uint8_t> bytes);
    // Ends the drive; its pending bytes are still written.
    void End();
    // Writes the bytes handed over so far, soon and without waiting for it.
    // The program calls this from its whole-second tick: bytes wait for it,
    // so the thread wakes when the program is awake anyway, and never while
    // nothing comes in.
    void WriteSoon();
    bool recording() const;

    // Waits until everything handed over so far is on disk (or has failed).
    void Flush();

    // The file of the drive in progress (empty before the thread has named
    // it) and the bytes of it handed over so far.
    std::filesystem::path currentPath() const;
    std::uint64_t currentBytes() const;

    // Pending bytes beyond this are dropped and the drive is told failed: a
    // disk that takes none for hours must not fill the memory instead.
    // Two megabytes are three quarters of an hour of the detector's stream.
    static constexpr std::size_t kMaxPending = std::size_t{2} << 20;
    // Pending bytes that are written at once instead of with the next
    // tick's batch.
    static constexpr std::size_t kWriteAtOnce = std::size_t{64} << 10;
    // Rotation runs at each drive's start and after this many bytes.
    static constexpr std::uint64_t kRotateEvery = std::uint64_t{1} << 20;

private:
    struct Command;
    void Run();
    void Fail(const std::string& message);
    void WriteBatch(const std::vector<std::uint8_t>& batch);
    void OpenDrive(const DriveStart& start);

    const std::filesystem::path dir_;
    FailureHandler onFailure_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable flushed_;
    // Under mutex_:
    std::vector<Command> commands_;
    bool stop_ = false;
    bool recording_ = false;
    std::uint64_t handedOver_ = 0;  // bytes, this drive
    std::uint64_t queued_ = 0;      // commands queued in total
    std::uint64_t done_ = 0;        // commands the thread has finished
    std::size_t pendingBytes_ = 0;
    bool flushWanted_ = false;
    bool writeWanted_ = false;
    std::filesystem::path current_;

    // Writer thread only:
    std::string fileName_;
    std::uint64_t limit_ = 0;
    std::uint64_t sinceRotation_ = 0;
    bool told_ = false;

    std::thread thread_;
};

}  // namespace veltra::recorder
