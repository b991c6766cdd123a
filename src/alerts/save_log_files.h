#pragma once
// The file operations behind saving and discarding the log. Each failure
// comes back as the operating system's reason, for the user to read.

#include <optional>
#include <string>

namespace veltra {

// Empty on success, otherwise why the operation failed.
using FileError = std::optional<std::string>;

class LogFiles {
public:
    virtual ~LogFiles() = default;
    // Something, of whatever kind, exists under this name.
    virtual bool exists(const std::string& path) const = 0;
    // Both names lead to the same file (same device and inode).
    virtual bool sameFile(const std::string& a, const std::string& b) const = 0;
    // Copies `from` to `to`, replacing `to`. Either `to` ends up holding the
    // whole copy, or it is left exactly as it was.
    virtual FileError copyReplacing(const std::string& from, const std::string& to) = 0;
    // Deletes the file; a file that is already gone is no failure.
    virtual FileError remove(const std::string& path) = 0;
};

// The real file system. The copy goes to a new file beside the target,
// is flushed to the disk, and only then renamed over the target, so a
// failure at any point (disk full, no permission, a crash) never leaves a
// truncated target; the temporary file is removed on failure.
class DiskLogFiles : public LogFiles {
public:
    bool exists(const std::string& path) const override;
    bool sameFile(const std::string& a, const std::string& b) const override;
    FileError copyReplacing(const std::string& from, const std::string& to) override;
    FileError remove(const std::string& path) override;
};

}  // namespace veltra
