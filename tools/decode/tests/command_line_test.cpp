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
