#include "alerts/file_log_sink.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstring>

namespace veltra {
namespace {

// File systems on which every change to a file passes through this
// machine's kernel, so a watch sees it. Network and user-space file systems
// are left out on purpose.
bool WatchSeesEveryChange(decltype(statfs::f_type) type) {
    constexpr long kZfs = 0x2fc12fc1;
    switch (static_cast<long>(type)) {
        case EXT4_SUPER_MAGIC:  // also ext2 and ext3
        case BTRFS_SUPER_MAGIC:
        case XFS_SUPER_MAGIC:
        case F2FS_SUPER_MAGIC:
        case TMPFS_MAGIC:
        case OVERLAYFS_SUPER_MAGIC:
        case MSDOS_SUPER_MAGIC:
        case EXFAT_SUPER_MAGIC:
        case kZfs:
            return true;
        default:
            return false;
    }
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

FileLogSink::~FileLogSink() {
    LetGo();
}

std::optional<std::string> FileLogSink::AppendLine(std::string_view line) {
    int fd = HeldAndStillNamed();
    if (fd < 0) {
        fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            return std::string(std::strerror(errno));
        }
        Hold(fd);
    }
    std::string text;
    text.reserve(line.size() + 2);
    text.append(line).append("\r\n");
    std::size_t done = 0;
    int writeError = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            writeError = n < 0 ? errno : ENOSPC;
            break;
        }
        // More than one turn only when the disk filled up mid-line; the next
        // write then says why.
        done += static_cast<std::size_t>(n);
    }
    if (writeError != 0 && done > 0) {
        // Take the piece back off, so that the log never holds a line
        // without its end. Appending leaves the descriptor's offset at the
        // end of what it wrote; asked only now, as a line that goes in whole
        // (nearly every line) needs no offset at all.
        const off_t end = ::lseek(fd, 0, SEEK_CUR);
        if (end >= static_cast<off_t>(done)) {
            (void)::ftruncate(fd, end - static_cast<off_t>(done));
        }
    }
    if (fd == kept_) {
        if (writeError == 0) {
            return std::nullopt;
        }
        // The next line starts afresh from the path.
        LetGo();
        return std::string(std::strerror(writeError));
    }
    const bool closed = ::close(fd) == 0;
    if (writeError != 0) {
        return std::string(std::strerror(writeError));
    }
    if (!closed) {
        return std::string(std::strerror(errno));
    }
    return std::nullopt;
}

int FileLogSink::HeldAndStillNamed() {
    if (kept_ < 0) {
        return -1;
    }
    // The watch reports nothing while the path names the file. Deleting,
    // renaming or replacing it changes its link count or its name, and any
    // report at all (a touch, a new hard link) only costs a fresh open.
    alignas(inotify_event) std::array<char, sizeof(inotify_event) + NAME_MAX + 1> events;
    const ssize_t n = ::read(watch_, events.data(), events.size());
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        return kept_;
    }
    LetGo();
    return -1;
}

void FileLogSink::Hold(int fd) {
    struct statfs where;
    if (::fstatfs(fd, &where) != 0 || !WatchSeesEveryChange(where.f_type)) {
        return;
    }
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch < 0) {
        return;
    }
    // The watch goes on whatever the path names now; the file is held only
    // if that is still the file opened, so a swap in between is caught here
    // and a swap afterwards by the watch.
    struct stat opened {};
    struct stat named {};
    const bool watched =
        ::inotify_add_watch(watch, path_.c_str(), IN_ATTRIB | IN_MOVE_SELF | IN_DELETE_SELF) >= 0;
    if (!watched || ::fstat(fd, &opened) != 0 || ::stat(path_.c_str(), &named) != 0 ||
        !SameFile(opened, named)) {
        ::close(watch);
        return;
    }
    kept_ = fd;
    watch_ = watch;
}

void FileLogSink::LetGo() {
    if (kept_ >= 0) {
        ::close(kept_);
        ::close(watch_);
    }
    kept_ = -1;
    watch_ = -1;
}

}  // namespace veltra
