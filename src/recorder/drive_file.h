#pragma once
// Reading a recording from disk, with the messages a user gets for the ways
// it can go wrong.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "recorder/drive_name.h"

namespace veltra::recorder {

// A day's drive is about 60 MB; a file many times that is not a drive
// anyone recorded, and reading it whole would only exhaust the memory.
inline constexpr std::uint64_t kMaxDriveBytes = std::uint64_t{512} << 20;

struct LoadedDrive {
    std::vector<std::uint8_t> bytes;
    // From the file name; nothing when the file was renamed.
    std::optional<DriveStart> start;
};

// The drive, or a message saying why it cannot be read.
std::variant<LoadedDrive, std::string> LoadDrive(const std::filesystem::path& path);

}  // namespace veltra::recorder
