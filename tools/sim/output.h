#pragma once
// Where the stream goes: a pseudo-terminal the simulator creates (the
// program connects to its device), or a device, FIFO, file or stdout.
//
// Nothing is dropped on the way: when the reader is slow, writing waits for
// room; when the reader goes away, the caller is told.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "stop_signals.h"

namespace veltra::sim {

enum class OutputStatus {
    kOk,
    kStopped,     // SIGINT or SIGTERM arrived
    kReaderGone,  // the reading side closed the pty or the pipe
    kFailed,      // any other write error; see error()
};

class Output {
public:
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // A new pty whose device is in raw mode; nothing when that fails, with a
    // reason in `error`.
    static std::unique_ptr<Output> CreatePty(std::string& error);

    // An existing device or FIFO, or a regular file (created or emptied);
    // "-" is stdout. A terminal line is set raw, 8N1, 7200 bit/s.
    static std::unique_ptr<Output> OpenPath(const std::string& path, std::string& error);

    // The device to connect to (pty), or the path written to.
    const std::string& name() const { return name_; }
    bool isPty() const { return pty_; }
    // Streaming starts only once a reader is there (a pty or a FIFO).
    bool waitsForReader() const { return pty_ || fifo_; }
    const std::string& error() const { return error_; }

    // Waits until somebody opens the pty, or for the reading end of a FIFO.
    OutputStatus WaitForReader();

    // After a reader has left: lets go of a FIFO's old reading end and waits
    // for the next reader as WaitForReader does. A pty stays as it is: its
    // device can be opened again as long as this side keeps it.
    OutputStatus WaitForNextReader();

    // Waits until `deadline` while watching for the reader leaving.
    OutputStatus WaitUntil(SteadyClock::time_point deadline);

    // Writes all of `bytes`, waiting for room as long as it takes. A stop
    // drops the rest of the chunk.
    OutputStatus Write(std::span<const std::uint8_t> bytes);

    // At the normal end of a pty stream: closing the master discards what
    // the reader has not read yet, so wait until it has taken everything (or
    // has left, or has stopped reading).
    void Drain();

private:
    Output(int fd, std::string name, bool pty) : fd_(fd), name_(std::move(name)), pty_(pty) {}

    bool ReaderGone();
    // Bytes waiting in the pty's input queue, -1 when that cannot be read.
    int ReaderQueue() const;

    int fd_;
    std::string name_;
    bool pty_;
    bool fifo_ = false;
    std::string error_;
};

}  // namespace veltra::sim
