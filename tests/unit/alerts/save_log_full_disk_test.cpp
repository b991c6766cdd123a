// Saving the log onto a target that fills up or goes away, on a real file
// system: a tiny tmpfs where the machine lets the test mount one.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "alerts/save_log_files.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class FullDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("veltra-full-" + std::to_string(::getpid()));
        fs::create_directories(dir / "small");
        if (::mount("tmpfs", (dir / "small").c_str(), "tmpfs", 0, "size=64k") != 0) {
            GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
        }
        mounted = true;
        // A working log bigger than the whole target file system.
        std::string line = "9:41:07 PM -     Ka   2 **        /\\      \r\n";
        std::ofstream out(dir / "temp.log", std::ios::binary);
        for (int i = 0; i < 4000; ++i) {
            out << line;
        }
    }
    void TearDown() override {
        if (mounted) {
            ::umount2((dir / "small").c_str(), MNT_DETACH);
        }
        fs::remove_all(dir);
    }
    fs::path dir;
    bool mounted = false;
};

TEST_F(FullDiskTest, AFullTargetIsToldAndNeitherTheLogNorTheOldTargetSuffers) {
    const std::string log = Read(dir / "temp.log");
    const fs::path target = dir / "small" / "drive.txt";
    std::ofstream(target, std::ios::binary) << "an earlier save";

    DiskLogFiles files;
    const FileError error = files.copyReplacing((dir / "temp.log").string(), target.string());
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(*error, std::strerror(ENOSPC));
    EXPECT_EQ(Read(dir / "temp.log"), log);
    EXPECT_EQ(Read(target), "an earlier save");
    // No half-written temporary file left to fill the disk.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "small"), fs::directory_iterator{}), 1);
}

TEST_F(FullDiskTest, ATargetThatVanishesIsToldAndTheLogStays) {
    const std::string log = Read(dir / "temp.log");
    fs::create_directories(dir / "small" / "stick");
    const fs::path target = dir / "small" / "stick" / "drive.txt";
    // The stick pulled after the dialog closed: the folder is gone.
    ASSERT_EQ(::umount2((dir / "small").c_str(), MNT_DETACH), 0);
    mounted = false;
    DiskLogFiles files;
    const FileError error = files.copyReplacing((dir / "temp.log").string(), target.string());
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(*error, std::strerror(ENOENT));
    EXPECT_EQ(Read(dir / "temp.log"), log);
}

}  // namespace
}  // namespace veltra
