#pragma once
// Keeps the drives folder within its size limit: the oldest drives go first,
// the one being recorded never does. Files the recorder did not name are the
// user's and are neither counted nor touched.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace veltra::recorder {

struct DriveFile {
    std::string name;  // file name within the folder
    std::uint64_t bytes = 0;
};

// The names to delete, oldest first, so that what remains (the drive in
// progress included) fits in `limitBytes` where it can.
std::vector<std::string> DrivesToDelete(std::vector<DriveFile> drives, std::uint64_t limitBytes,
                                        const std::string& inProgress);

// The drives in `dir`, in no particular order; nothing when it cannot be read.
std::vector<DriveFile> ListDrives(const std::filesystem::path& dir);

struct RotationResult {
    std::vector<std::string> deleted;
    // The first failure, for the user.
    std::optional<std::string> error;
};

RotationResult RotateDrives(const std::filesystem::path& dir, std::uint64_t limitBytes,
                            const std::string& inProgress);

}  // namespace veltra::recorder
