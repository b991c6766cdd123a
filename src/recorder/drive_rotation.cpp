#include "recorder/drive_rotation.h"

#include <algorithm>
#include <system_error>

#include "recorder/drive_name.h"

namespace veltra::recorder {

std::vector<std::string> DrivesToDelete(std::vector<DriveFile> drives, std::uint64_t limitBytes,
                                        const std::string& inProgress) {
    struct Dated {
        DriveStart start;
        const DriveFile* file;
    };
    std::vector<Dated> dated;
    std::uint64_t total = 0;
    for (const DriveFile& f : drives) {
        if (auto start = ParseDriveFileName(f.name)) {
            dated.push_back({*start, &f});
            total += f.bytes;
        }
    }
    // By start time, not by name: "..._2" must follow the drive of the same
    // second without a serial, which it sorts before as text.
    std::sort(dated.begin(), dated.end(),
              [](const Dated& a, const Dated& b) { return a.start < b.start; });
    std::vector<std::string> doomed;
    for (const Dated& d : dated) {
        if (total <= limitBytes) {
            break;
        }
        if (d.file->name == inProgress) {
            continue;
        }
        doomed.push_back(d.file->name);
        total -= d.file->bytes;
    }
    return doomed;
}

std::vector<DriveFile> ListDrives(const std::filesystem::path& dir) {
    std::vector<DriveFile> drives;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code sizeError;
        if (!it->is_regular_file(sizeError)) {
            continue;
        }
        const std::uint64_t bytes = it->file_size(sizeError);
        if (!sizeError) {
            drives.push_back({it->path().filename().string(), bytes});
        }
    }
    return drives;
}

RotationResult RotateDrives(const std::filesystem::path& dir, std::uint64_t limitBytes,
                            const std::string& inProgress) {
    RotationResult result;
    for (const std::string& name : DrivesToDelete(ListDrives(dir), limitBytes, inProgress)) {
        std::error_code ec;
        std::filesystem::remove(dir / name, ec);
        if (ec) {
            if (!result.error) {
                result.error = "cannot delete the old drive \"" + (dir / name).string() +
                               "\": " + ec.message();
            }
        } else {
            result.deleted.push_back(name);
        }
    }
    return result;
}

}  // namespace veltra::recorder
