#include "shell/readme_location.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace veltra {
namespace {

namespace fs = std::filesystem;

// A prefix as an installation lays it out: bin/ and share/doc/veltrascope/.
class ReadmeLocation : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "readme-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        prefix = pattern;
        fs::create_directories(bin());
        fs::create_directories(doc());
    }
    void TearDown() override { fs::remove_all(prefix); }

    fs::path bin() const { return prefix / "bin"; }
    fs::path doc() const { return prefix / "share" / "doc" / "veltrascope"; }
    static void Touch(const fs::path& p) { std::ofstream(p) << "read me\n"; }

    fs::path prefix;
};

TEST_F(ReadmeLocation, BesideTheProgramComesFirstThenTheInstalledDocumentation) {
    EXPECT_EQ(FindReadme(bin().string()), std::nullopt);

    Touch(doc() / "readme.txt");
    // Without the "..": the path a viewer shows in its title.
    EXPECT_EQ(FindReadme(bin().string()), (doc() / "readme.txt").string());

    Touch(bin() / "readme.txt");
    EXPECT_EQ(FindReadme(bin().string()), bin().string() + "/readme.txt");
}

TEST_F(ReadmeLocation, OnlyAFileCountsAsTheReadme) {
    // A folder of that name, where a file is looked for, is no read-me.
    fs::create_directory(bin() / "readme.txt");
    fs::create_directory(doc() / "readme.txt");
    EXPECT_EQ(FindReadme(bin().string()), std::nullopt);

    // The program's folder below a regular file cannot hold anything.
    Touch(prefix / "plain");
    EXPECT_EQ(FindReadme((prefix / "plain" / "bin").string()), std::nullopt);
}

}  // namespace
}  // namespace veltra
