#include "shell/readme_location.h"

#include <filesystem>
#include <system_error>

namespace veltra {

namespace {

bool IsFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::optional<std::string> FindReadme(const std::string& programDir) {
    // Formed as the directory is reported, so the path the desktop's viewer
    // is given reads as the user knows the folder.
    const std::string beside = programDir + "/readme.txt";
    if (IsFile(beside)) {
        return beside;
    }
    const std::filesystem::path installed =
        (std::filesystem::path(programDir) / "../share/doc/veltrascope/readme.txt")
            .lexically_normal();
    if (IsFile(installed)) {
        return installed.string();
    }
    return std::nullopt;
}

}  // namespace veltra
