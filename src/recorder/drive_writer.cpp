#include "recorder/drive_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include "recorder/drive_rotation.h"

namespace veltra::recorder {

struct DriveWriter::Command {
    enum Kind { Begin, Bytes, End } kind;
    DriveStart start;
    std::uint64_t limit = 0;
    std::vector<std::uint8_t> bytes;
};

DriveWriter::DriveWriter(std::filesystem::path dir, FailureHandler onFailure)
    : dir_(std::move(dir)), onFailure_(std::move(onFailure)), thread_([this] { Run(); }) {}

DriveWriter::~DriveWriter() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void DriveWriter::Begin(const DriveStart& start, std::uint64_t limitBytes) {
    {
        std::lock_guard lock(mutex_);
        commands_.push_back({Command::Begin, start, limitBytes, {}});
        ++queued_;
        recording_ = true;
        handedOver_ = 0;
        current_.clear();
    }
    wake_.notify_one();
}

void DriveWriter::Append(std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    if (!recording_ || bytes.empty()) {
        return;
    }
    handedOver_ += bytes.size();
    if (pendingBytes_ + bytes.size() > kMaxPending) {
        // Told by the thread when it finds the gap; nothing waits here.
        commands_.push_back({Command::Bytes, {}, 0, {}});
        ++queued_;
        return;
    }
    pendingBytes_ += bytes.size();
    // Consecutive arrivals share one buffer, so the thread writes once a
    // tick whatever came in between.
    if (!commands_.empty() && commands_.back().kind == Command::Bytes &&
        !commands_.back().bytes.empty()) {
        auto& b = commands_.back().bytes;
        b.insert(b.end(), bytes.begin(), bytes.end());
    } else {
        commands_.push_back({Command::Bytes, {}, 0, {bytes.begin(), bytes.end()}});
        ++queued_;
    }
    // A fast stream (a backlog, a flood of noise) is written as it comes
    // rather than held for the second: memory stays near one batch.
    if (pendingBytes_ >= kWriteAtOnce) {
        wake_.notify_one();
    }
}

void DriveWriter::WriteSoon() {
    std::lock_guard lock(mutex_);
    if (commands_.empty()) {
        return;
    }
    writeWanted_ = true;
    wake_.notify_one();
}

void DriveWriter::End() {
    {
        std::lock_guard lock(mutex_);
        if (!recording_) {
            return;
        }
        recording_ = false;
        commands_.push_back({Command::End, {}, 0, {}});
        ++queued_;
    }
    wake_.notify_one();
}

bool DriveWriter::recording() const {
    std::lock_guard lock(mutex_);
    return recording_;
}

void DriveWriter::Flush() {
    std::unique_lock lock(mutex_);
    const std::uint64_t target = queued_;
    flushWanted_ = true;
    wake_.notify_one();
    flushed_.wait(lock, [&] { return done_ >= target; });
}

std::filesystem::path DriveWriter::currentPath() const {
    std::lock_guard lock(mutex_);
    return recording_ ? current_ : std::filesystem::path();
}

std::uint64_t DriveWriter::currentBytes() const {
    std::lock_guard lock(mutex_);
    return recording_ ? handedOver_ : 0;
}

void DriveWriter::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        // Bytes wait to be written together until the program's tick asks
        // for them; commands and flush requests are taken at once.
        wake_.wait(lock, [&] {
            return stop_ || (!commands_.empty() && commands_.front().kind != Command::Bytes) ||
                   commands_.size() > 1 || pendingBytes_ >= kWriteAtOnce || flushWanted_ ||
                   writeWanted_;
        });
        flushWanted_ = false;
        writeWanted_ = false;
        std::vector<Command> batch;
        batch.swap(commands_);
        pendingBytes_ = 0;
        const bool stopping = stop_;
        lock.unlock();
        for (Command& c : batch) {
            switch (c.kind) {
                case Command::Begin:
                    limit_ = c.limit;
                    OpenDrive(c.start);
                    break;
                case Command::Bytes:
                    WriteBatch(c.bytes);
                    break;
                case Command::End:
                    fileName_.clear();
                    break;
            }
        }
        lock.lock();
        done_ += batch.size();
        flushed_.notify_all();
        if (stopping && commands_.empty()) {
            return;
        }
    }
}

void DriveWriter::OpenDrive(const DriveStart& start) {
    told_ = false;
    sinceRotation_ = 0;
    fileName_.clear();
    std::error_code ec;
    std::filesystem::create_directories(dir_, ec);
    if (ec) {
        Fail("cannot create the folder \"" + dir_.string() + "\": " + ec.message());
        return;
    }
    // Two connections within one second get serials; an existing file of
    // the same name is never appended to.
    DriveStart s = start;
    for (s.serial = 0; s.serial < 1000; ++s.serial) {
        const std::string name = DriveFileName(s);
        // "x" creates the file and fails when it exists.
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen((dir_ / name).c_str(), "wbx"),
                                                          &std::fclose);
        if (f) {
            fileName_ = name;
            break;
        }
        if (errno != EEXIST) {
            Fail("cannot create \"" + (dir_ / name).string() + "\": " + std::strerror(errno));
            return;
        }
    }
    if (fileName_.empty()) {
        Fail("no free file name for the drive in \"" + dir_.string() + "\"");
        return;
    }
    {
        std::lock_guard lock(mutex_);
        current_ = dir_ / fileName_;
    }
    if (auto r = RotateDrives(dir_, limit_, fileName_); r.error) {
        Fail(*r.error);
    }
}

void DriveWriter::WriteBatch(const std::vector<std::uint8_t>& batch) {
    if (fileName_.empty()) {
        return;  // the drive could not be created: already told
    }
    if (batch.empty()) {
        Fail("the disk did not keep up; part of the drive is missing");
        return;
    }
    const std::filesystem::path path = dir_ / fileName_;
    // Opened and closed per batch, as every file of the program is: the
    // drive is complete on disk at every moment but the last second.
    std::FILE* f = std::fopen(path.c_str(), "ab");
    bool ok = f != nullptr && std::fwrite(batch.data(), 1, batch.size(), f) == batch.size();
    const int error = errno;
    if (f != nullptr && std::fclose(f) != 0) {
        ok = false;
    }
    if (!ok) {
        Fail("cannot write \"" + path.string() + "\": " + std::strerror(error));
        return;
    }
    sinceRotation_ += batch.size();
    if (sinceRotation_ >= kRotateEvery) {
        sinceRotation_ = 0;
        if (auto r = RotateDrives(dir_, limit_, fileName_); r.error) {
            Fail(*r.error);
        }
    }
}

void DriveWriter::Fail(const std::string& message) {
    if (told_) {
        return;
    }
    told_ = true;
    if (onFailure_) {
        onFailure_(message);
    }
}

}  // namespace veltra::recorder
