#pragma once
// The log on disk: each line is appended CR LF ended with one write(2) to a
// descriptor opened for appending, so the program killed at any moment
// leaves whole lines only.
//
// Between lines the file stays open while a watch on it says that its path
// still names it. Opening the path for every line costs the kernel a path
// walk and a new open file each time, several times what the write itself
// costs. Once the file is deleted, renamed or replaced, the next line opens
// the path afresh, exactly as a line opened per path would. Where such a
// watch cannot be trusted (a file system shared over a network, where a
// change made on another machine goes unseen) or cannot be had, every line
// opens the path.

#include <optional>
#include <string>
#include <string_view>

#include "alerts/log_writer.h"

namespace veltra {

class FileLogSink : public LogSink {
public:
    explicit FileLogSink(std::string path) : path_(std::move(path)) {}
    ~FileLogSink() override;
    FileLogSink(const FileLogSink&) = delete;
    FileLogSink& operator=(const FileLogSink&) = delete;

    std::optional<std::string> AppendLine(std::string_view line) override;
    std::string Name() const override { return path_; }

    // True while the file is held open for the next line.
    bool HoldsFileOpen() const { return kept_ >= 0; }

private:
    // The held descriptor when its path still names it, else -1 (and the
    // descriptor is let go).
    int HeldAndStillNamed();
    // Holds `fd` for later lines when its file can be watched.
    void Hold(int fd);
    void LetGo();

    std::string path_;
    int kept_ = -1;
    // The inotify instance watching the held file.
    int watch_ = -1;
};

}  // namespace veltra
