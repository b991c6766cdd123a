#include "alerts/save_log_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace veltra {

namespace {

std::string Reason(int error) {
    return std::error_code(error, std::system_category()).message();
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes now, so that a failed close can be reported; 0 or errno.
    int close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Removes the temporary file unless the copy has been committed.
class TempFile {
public:
    explicit TempFile(std::string path) : path_(std::move(path)) {}
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (!committed_) {
            ::unlink(path_.c_str());
        }
    }
    const std::string& path() const { return path_; }
    void commit() { committed_ = true; }

private:
    std::string path_;
    bool committed_ = false;
};

// errno of the first failure, 0 when everything was written.
int WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return 0;
}

int CopyContents(int in, int out) {
    char buffer[64 * 1024];
    for (;;) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return 0;
        }
        if (int e = WriteAll(out, buffer, static_cast<size_t>(n))) {
            return e;
        }
    }
}

// A name beside `target` that nobody else uses, created empty; the fd is
// -1 and `error` set when no such file can be made.
std::string CreateTempBeside(const std::filesystem::path& target, int& fd, int& error) {
    std::filesystem::path dir = target.parent_path();
    if (dir.empty()) {
        dir = ".";
    }
    // Keep the temporary name within the file system's name limit even for
    // the longest target names.
    std::string base = target.filename().string().substr(0, 200);
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[20];
        std::snprintf(suffix, sizeof suffix, ".%08llx.tmp",
                      static_cast<unsigned long long>(random() & 0xffffffffu));
        std::string name = (dir / ("." + base + suffix)).string();
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return name;
        }
        if (errno != EEXIST) {
            error = errno;
            return {};
        }
    }
    error = EEXIST;
    return {};
}

// Makes the rename itself durable; a failure here loses nothing that the
// rename has not already put in place, so it is not reported.
void SyncDirectoryOf(const std::filesystem::path& target) {
    std::filesystem::path dir = target.parent_path();
    if (dir.empty()) {
        dir = ".";
    }
    Fd d(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (d) {
        ::fsync(d.get());
    }
}

}  // namespace

bool DiskLogFiles::exists(const std::string& path) const {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool DiskLogFiles::sameFile(const std::string& a, const std::string& b) const {
    struct stat sa;
    struct stat sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

FileError DiskLogFiles::copyReplacing(const std::string& from, const std::string& to) {
    Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in) {
        return Reason(errno);
    }
    const std::filesystem::path target(to);
    int error = 0;
    int outFd = -1;
    std::string tempName = CreateTempBeside(target, outFd, error);
    if (outFd < 0) {
        return Reason(error);
    }
    Fd out(outFd);
    TempFile temp(std::move(tempName));

    if (int e = CopyContents(in.get(), out.get())) {
        return Reason(e);
    }
    // A replaced file keeps its permissions; a new one gets the usual ones.
    struct stat old;
    if (::stat(to.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(out.get(), old.st_mode & 07777);
    }
    if (::fsync(out.get()) != 0) {
        return Reason(errno);
    }
    if (int e = out.close()) {
        return Reason(e);
    }
    if (::rename(temp.path().c_str(), to.c_str()) != 0) {
        return Reason(errno);
    }
    temp.commit();
    SyncDirectoryOf(target);
    return std::nullopt;
}

FileError DiskLogFiles::remove(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        return Reason(errno);
    }
    return std::nullopt;
}

}  // namespace veltra
