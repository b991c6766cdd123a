// Naming of drives and keeping the folder within its limit.

#include <gtest/gtest.h>

#include <fstream>

#include "recorder/drive_name.h"
#include "recorder/drive_rotation.h"

namespace veltra::recorder {
namespace {

TEST(DriveName, RoundTripsAndOrdersBySerial) {
    const DriveStart first{2024, 5, 1, 14, 3, 22, 0};
    const DriveStart second{2024, 5, 1, 14, 3, 22, 2};
    EXPECT_EQ(DriveFileName(first), "2024-05-01_14-03-22.vsdrive");
    EXPECT_EQ(DriveFileName(second), "2024-05-01_14-03-22_2.vsdrive");
    EXPECT_EQ(ParseDriveFileName(DriveFileName(first)), first);
    EXPECT_EQ(ParseDriveFileName(DriveFileName(second)), second);
    EXPECT_LT(first, second);
}

TEST(DriveName, RefusesNamesItDidNotMake) {
    for (const char* name :
         {"", "notes.txt", "2024-05-01_14-03-22.txt", "2024-13-01_14-03-22.vsdrive",
          "2024-05-01_24-03-22.vsdrive", "2024-05-01 14-03-22.vsdrive",
          "2024-05-01_14-03-22_.vsdrive", "2024-05-01_14-03-22_x.vsdrive",
          "2024-05-01_14-03-22_0.vsdrive", "2024-05-01_14-03-2.vsdrive"}) {
        EXPECT_FALSE(ParseDriveFileName(name)) << name;
    }
}

TEST(DriveName, TimeOfDayAtAByteWrapsPastMidnight) {
    const DriveStart late{2024, 5, 1, 23, 59, 50, 0};
    EXPECT_EQ(TimeAtByte(0, late), "23:59:50");
    EXPECT_EQ(TimeAtByte(720 * 9 + 719, late), "23:59:59");
    EXPECT_EQ(TimeAtByte(720 * 15, late), "00:00:05");
    // A renamed recording still gives times into the drive.
    EXPECT_EQ(TimeAtByte(720 * 3661, std::nullopt), "+1:01:01");
}

TEST(DriveRotation, DeletesOldestFirstUntilTheRestFits) {
    const std::vector<DriveFile> drives = {
        {"2024-05-02_08-00-00.vsdrive", 100},
        {"2024-05-01_14-03-22_2.vsdrive", 100},  // after the one without serial
        {"2024-05-01_14-03-22.vsdrive", 100},
        {"holiday.mp4", 5000},  // not ours: neither counted nor deleted
        {"2024-05-03_09-00-00.vsdrive", 100},
    };
    EXPECT_EQ(DrivesToDelete(drives, 400, ""), std::vector<std::string>{});
    EXPECT_EQ(
        DrivesToDelete(drives, 250, "2024-05-03_09-00-00.vsdrive"),
        (std::vector<std::string>{"2024-05-01_14-03-22.vsdrive", "2024-05-01_14-03-22_2.vsdrive"}));
}

TEST(DriveRotation, NeverDeletesTheDriveInProgress) {
    const std::vector<DriveFile> drives = {
        {"2024-05-01_10-00-00.vsdrive", 900},  // in progress and alone over the limit
        {"2024-05-01_09-00-00.vsdrive", 10},
        {"2024-05-01_11-00-00.vsdrive", 10},
    };
    EXPECT_EQ(
        DrivesToDelete(drives, 100, "2024-05-01_10-00-00.vsdrive"),
        (std::vector<std::string>{"2024-05-01_09-00-00.vsdrive", "2024-05-01_11-00-00.vsdrive"}));
}

TEST(DriveRotation, OnDiskRemovesOnlyWhatMustGo) {
    const auto dir = std::filesystem::path(testing::TempDir()) / "rotation_on_disk";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    auto make = [&](const std::string& name, std::size_t bytes) {
        std::ofstream(dir / name, std::ios::binary) << std::string(bytes, 'x');
    };
    make("2024-05-01_10-00-00.vsdrive", 300);
    make("2024-05-01_11-00-00.vsdrive", 300);
    make("2024-05-01_12-00-00.vsdrive", 300);
    make("readme.txt", 10000);
    const RotationResult r = RotateDrives(dir, 700, "2024-05-01_12-00-00.vsdrive");
    EXPECT_FALSE(r.error);
    EXPECT_EQ(r.deleted, std::vector<std::string>{"2024-05-01_10-00-00.vsdrive"});
    EXPECT_FALSE(std::filesystem::exists(dir / "2024-05-01_10-00-00.vsdrive"));
    EXPECT_TRUE(std::filesystem::exists(dir / "2024-05-01_11-00-00.vsdrive"));
    EXPECT_TRUE(std::filesystem::exists(dir / "readme.txt"));
    // A folder that is not there holds nothing to delete.
    EXPECT_TRUE(RotateDrives(dir / "missing", 0, "").deleted.empty());
}

}  // namespace
}  // namespace veltra::recorder
