#include "recorder/drive_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace veltra::recorder {

std::variant<LoadedDrive, std::string> LoadDrive(const std::filesystem::path& path) {
    // Built by appending: g++ 12 at -O3 reports a false overlap for a literal
    // put in front of a temporary string.
    std::string shown(1, '"');
    shown += path.string();
    shown += '"';
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return shown + " is a folder, not a recording";
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) {
        return "cannot open " + shown + ": " + std::strerror(errno);
    }
    const auto tooLarge = [&] {
        return shown + " is larger than " + std::to_string(kMaxDriveBytes >> 20) +
               " MB: too large to be a recorded drive";
    };
    if (std::filesystem::is_regular_file(path, ec) &&
        std::filesystem::file_size(path, ec) > kMaxDriveBytes && !ec) {
        return tooLarge();
    }
    LoadedDrive drive;
    drive.start = ParseDriveFileName(path.filename().string());
    // Read in pieces rather than trusting a size reported up front: a pipe
    // or a growing file has none that holds.
    std::uint8_t piece[1 << 16];
    for (;;) {
        const std::size_t n = std::fread(piece, 1, sizeof piece, f.get());
        if (drive.bytes.size() + n > kMaxDriveBytes) {
            return tooLarge();
        }
        drive.bytes.insert(drive.bytes.end(), piece, piece + n);
        if (n < sizeof piece) {
            break;
        }
    }
    if (std::ferror(f.get())) {
        return "cannot read " + shown + ": " + std::strerror(errno);
    }
    return drive;
}

}  // namespace veltra::recorder
