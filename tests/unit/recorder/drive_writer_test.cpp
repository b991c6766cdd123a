// The recording thread: what is handed over reaches the disk unchanged, and
// a drive that cannot be written is told once.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include "recorder/drive_writer.h"

namespace veltra::recorder {
namespace {

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::filesystem::path FreshDir(const std::string& name) {
    auto dir = std::filesystem::path(testing::TempDir()) / name;
    std::filesystem::remove_all(dir);
    return dir;
}

struct Told {
    void operator()(const std::string& m) {
        std::lock_guard lock(mutex);
        messages.push_back(m);
    }
    std::vector<std::string> all() {
        std::lock_guard lock(mutex);
        return messages;
    }
    std::mutex mutex;
    std::vector<std::string> messages;
};

TEST(DriveWriter, WritesEveryByteOfEachDriveToItsOwnFile) {
    const auto dir = FreshDir("writer_bytes");
    Told told;
    DriveWriter writer(dir, [&](const std::string& m) { told(m); });
    const DriveStart start{2024, 5, 1, 14, 3, 22, 0};
    std::vector<std::uint8_t> sent;
    writer.Begin(start, 1 << 30);
    for (int i = 0; i < 5000; ++i) {
        const std::uint8_t chunk[3] = {static_cast<std::uint8_t>(i), 0xFE,
                                       static_cast<std::uint8_t>(i >> 8)};
        writer.Append(chunk);
        sent.insert(sent.end(), chunk, chunk + 3);
    }
    writer.Flush();
    EXPECT_EQ(writer.currentPath(), dir / "2024-05-01_14-03-22.vsdrive");
    EXPECT_EQ(writer.currentBytes(), sent.size());
    // A second connection in the same second gets a file of its own.
    writer.Begin(start, 1 << 30);
    const std::uint8_t more[2] = {1, 2};
    writer.Append(more);
    writer.End();
    writer.Append(more);  // after the end: not recorded
    writer.Flush();
    EXPECT_EQ(ReadAll(dir / "2024-05-01_14-03-22.vsdrive"), sent);
    EXPECT_EQ(ReadAll(dir / "2024-05-01_14-03-22_1.vsdrive"), (std::vector<std::uint8_t>{1, 2}));
    EXPECT_TRUE(told.all().empty());
}

// Bytes wait for the program's tick, not for a timer of the writer's own;
// the tick has them written without waiting for the disk.
TEST(DriveWriter, TheTickHasTheBytesWrittenWithoutAFlush) {
    const auto dir = FreshDir("writer_tick");
    Told told;
    DriveWriter writer(dir, [&](const std::string& m) { told(m); });
    writer.Begin({2024, 5, 1, 14, 3, 22, 0}, 1 << 30);
    writer.Flush();  // the drive is open, and the thread asleep again
    const std::uint8_t bytes[3] = {0xFE, 1, 2};
    writer.Append(bytes);
    writer.WriteSoon();
    const auto file = dir / "2024-05-01_14-03-22.vsdrive";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::error_code ec;
    while (std::filesystem::file_size(file, ec) != 3 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(ReadAll(file), (std::vector<std::uint8_t>{0xFE, 1, 2}));
    EXPECT_TRUE(told.all().empty());
}

TEST(DriveWriter, StartingADriveKeepsTheFolderWithinItsLimit) {
    const auto dir = FreshDir("writer_limit");
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "2024-05-01_10-00-00.vsdrive") << std::string(600, 'a');
    std::ofstream(dir / "2024-05-01_11-00-00.vsdrive") << std::string(600, 'b');
    DriveWriter writer(dir, {});
    writer.Begin({2024, 5, 1, 12, 0, 0, 0}, 1000);
    writer.Flush();
    EXPECT_FALSE(std::filesystem::exists(dir / "2024-05-01_10-00-00.vsdrive"));
    EXPECT_TRUE(std::filesystem::exists(dir / "2024-05-01_11-00-00.vsdrive"));
    EXPECT_TRUE(std::filesystem::exists(dir / "2024-05-01_12-00-00.vsdrive"));
}

TEST(DriveWriter, AnUnwritableFolderIsToldOnceAndAppendNeverWaits) {
    const auto base = FreshDir("writer_unwritable");
    std::filesystem::create_directories(base);
    std::ofstream(base / "file") << "x";  // a folder below a file cannot exist
    Told told;
    DriveWriter writer(base / "file" / "drives", [&](const std::string& m) { told(m); });
    writer.Begin({2024, 5, 1, 12, 0, 0, 0}, 1000);
    const std::vector<std::uint8_t> chunk(1000, 0x11);
    for (int i = 0; i < 100; ++i) {
        writer.Append(chunk);
    }
    writer.Flush();
    ASSERT_EQ(told.all().size(), 1u);
    EXPECT_NE(told.all()[0].find("cannot create the folder"), std::string::npos);
    // The next drive is told again, once.
    writer.Begin({2024, 5, 1, 12, 0, 1, 0}, 1000);
    writer.Append(chunk);
    writer.Flush();
    EXPECT_EQ(told.all().size(), 2u);
}

}  // namespace
}  // namespace veltra::recorder
