// veltrascope-decode as the user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/frames.h"

namespace {

namespace fs = std::filesystem;

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("veltra-decode-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the tool with `args` (shell syntax); returns its exit status.
    int Run(const std::string& args) {
        const std::string cmd = std::string(VELTRA_DECODE_BINARY) + " " + args + " >" +
                                (dir / "out").string() + " 2>" + (dir / "err").string();
        const int status = std::system(cmd.c_str());
        out = Read(dir / "out");
        err = Read(dir / "err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path Write(const std::string& name, const veltra::test::Bytes& bytes) {
        fs::path p = dir / name;
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return p;
    }

    fs::path dir;
    std::string out, err;
};

TEST_F(CommandLine, BadArgumentsAndUnreadableInputExitWithStatus2) {
    for (const char* args : {"--chunk", "--chunk 0", "--chunk -3", "--chunk 12x",
                             "--chunk=", "--chunk 99999999999", "--frobnicate", "a b"}) {
        EXPECT_EQ(Run(args), 2) << args;
        EXPECT_NE(err.find("veltrascope-decode: "), std::string::npos) << args;
        EXPECT_NE(err.find("Usage:"), std::string::npos) << args;
        EXPECT_EQ(out, "") << args;
    }
    EXPECT_EQ(Run((dir / "missing").string()), 2);
    EXPECT_NE(err.find("cannot open"), std::string::npos) << err;
    EXPECT_NE(err.find("No such file"), std::string::npos) << err;
    EXPECT_EQ(Run(dir.string()), 2);  // a directory opens but cannot be read
    EXPECT_NE(err.find("cannot read"), std::string::npos) << err;

    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(out.find("--chunk N"), std::string::npos);
    EXPECT_EQ(err, "");
}

TEST_F(CommandLine, ReadsAFileOrStandardInputAlike) {
    std::mt19937 rng(5);
    const fs::path file = Write("capture.bin", veltra::test::TroubledStream(rng, 200, 500));
    ASSERT_EQ(Run("--events " + file.string()), 0) << err;
    const std::string fromFile = out;
    EXPECT_NE(fromFile.find(" - "), std::string::npos);
    ASSERT_EQ(Run("--chunk=1 --events - <" + file.string()), 0) << err;
    EXPECT_EQ(out, fromFile);
    ASSERT_EQ(Run("--chunk 997 --events <" + file.string()), 0) << err;
    EXPECT_EQ(out, fromFile);
    ASSERT_EQ(Run("-- " + file.string()), 0) << err;
    EXPECT_EQ(out.find("Alert\n"), std::string::npos);
}

}  // namespace

namespace {

using veltra::test::Bytes;

Bytes Held(const veltra::DisplayState& s, int frames) {
    Bytes b;
    for (int i = 0; i < frames; ++i) {
        veltra::test::Append(b, veltra::test::FrameBytes(s));
    }
    return b;
}

TEST_F(CommandLine, AlertsListsEachAlertOfARecordingAsTableOrCsv) {
    veltra::DisplayState idle, x, laser;
    x.Band[veltra::kX] = true;
    x.Signal[0] = x.Signal[1] = true;
    x.FrontArrow = true;
    laser.Band[veltra::kLaser] = true;
    laser.Signal.fill(true);
    Bytes drive = Held(idle, 720);              // 25 s
    veltra::test::Append(drive, Held(x, 144));  // 5 s
    veltra::test::Append(drive, Held(idle, 72));
    veltra::test::Append(drive, Held(laser, 29));
    veltra::test::Append(drive, Held(idle, 3));
    const fs::path file = Write("2024-05-01_23-59-40.vsdrive", drive);
    ASSERT_EQ(Run("--alerts " + file.string()), 0) << err;
    EXPECT_EQ(out,
              "Start       Duration  Bands          Peak  Arrows\n"
              "00:00:05       5.0 s  X                 2  front\n"
              "00:00:12       1.0 s  Laser             8  -\n");
    EXPECT_EQ(err, "");
    ASSERT_EQ(Run("--alerts --csv " + file.string()), 0) << err;
    EXPECT_EQ(out,
              "Start,Duration (s),Bands,Peak dots,Arrows\r\n"
              "00:00:05,5.0,X,2,front\r\n"
              "00:00:12,1.0,Laser,8,\r\n");
    // Renamed: times into the drive instead.
    const fs::path renamed = Write("mine.bin", drive);
    ASSERT_EQ(Run("--alerts " + renamed.string()), 0) << err;
    EXPECT_NE(out.find("\n+0:00:25 "), std::string::npos) << out;
}

TEST_F(CommandLine, AlertsOfBadRecordingsAreAnEmptyListOrAClearMessage) {
    std::mt19937 rng(9);
    Bytes random(100000);
    for (auto& b : random) {
        b = static_cast<std::uint8_t>(rng() % 0xFE);  // no sync byte: no frame at all
    }
    for (const fs::path& p : {Write("empty.vsdrive", {}), Write("random.vsdrive", random),
                              Write("cut.vsdrive", Bytes{0xFE, 0x00, 0x01})}) {
        EXPECT_EQ(Run("--alerts " + p.string()), 0) << p;
        EXPECT_EQ(out, "No alerts.\n");
        EXPECT_NE(err.find("holds no display frames"), std::string::npos) << err;
    }
    const fs::path huge = dir / "huge.vsdrive";
    std::ofstream(huge).close();
    fs::resize_file(huge, std::uintmax_t{600} << 20);  // sparse: costs no disk
    EXPECT_EQ(Run("--alerts " + huge.string()), 2);
    EXPECT_NE(err.find("too large to be a recorded drive"), std::string::npos) << err;
    EXPECT_EQ(Run("--alerts " + dir.string()), 2);
    EXPECT_NE(err.find("is a folder"), std::string::npos) << err;
    EXPECT_EQ(Run("--alerts"), 2);
    EXPECT_EQ(Run("--csv " + huge.string()), 2);
    EXPECT_NE(err.find("--csv goes with --alerts"), std::string::npos) << err;
}

}  // namespace
