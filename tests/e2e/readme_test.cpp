// Help > ReadMe... at the real program: found beside the program (a build
// tree) and under share/doc (an installation), handed to the desktop's
// opener, or shown in the program's own window where there is none.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "e2e/program_harness.h"

namespace veltra::e2e {
namespace {

namespace fs = std::filesystem;

// A program whose PATH holds only `bin`: with an opener that records what it
// is given, or (`withOpener` false) with no opener at all, as on a desktop
// without xdg-utils.
class ReadmeProgram {
public:
    explicit ReadmeProgram(bool withOpener) {
        program.setSetting("AutoConnect", "0");
        fs::create_directories(bin());
        if (withOpener) {
            std::ofstream opener(bin() / "xdg-open");
            // What it found of the environment first: the test waits for
            // the opened file.
            opener << "#!/bin/sh\nprintf '%s' \"${QT_XCB_NO_MITSHM-unset}\" > '"
                   << openerMitshm().string() << "'\nprintf '%s\\n' \"$@\" >> '"
                   << opened().string() << "'\n";
            opener.close();
            fs::permissions(bin() / "xdg-open", fs::perms::owner_all);
        }
        program.setEnvironment("PATH", bin().string());
        program.setEnvironment("BROWSER", std::nullopt);
        program.setEnvironment("DEFAULT_BROWSER", std::nullopt);
    }

    fs::path bin() const { return program.scratch() / "opener"; }
    fs::path opened() const { return program.scratch() / "opened.txt"; }
    // What the opener found of the X shared-memory switch the program sets
    // for its own connection only.
    fs::path openerMitshm() const { return program.scratch() / "mitshm.txt"; }
    std::string openedText() const {
        std::ifstream in(opened());
        std::string line;
        std::getline(in, line);
        return line;
    }
    // Lays the read-me out as an installation does: bin/ and
    // share/doc/veltrascope/ side by side, nothing beside the program.
    fs::path installReadme() const {
        const fs::path doc = program.scratch() / "share" / "doc" / "veltrascope";
        fs::create_directories(doc);
        fs::rename(program.programDir() / "readme.txt", doc / "readme.txt");
        return doc / "readme.txt";
    }
    void chooseReadMe() {
        Shell("xdotool windowactivate --sync " + program.window() +
              " key --clearmodifiers alt+h r");
    }
    std::string readmeWindow() const {
        return Shell("xdotool search --all --onlyvisible --pid " + std::to_string(program.pid()) +
                     " --name '^readme\\.txt — Veltra Scope$' 2>/dev/null | head -n1");
    }

    Program program;
};

TEST(ProgramReadme, TheDesktopOpenerGetsTheReadmeBesideTheProgramElseTheInstalledOne) {
    ReadmeProgram p(true);
    ASSERT_TRUE(p.program.start());
    ASSERT_TRUE(fs::exists(p.program.programDir() / "readme.txt"));
    p.chooseReadMe();
    ASSERT_TRUE(WaitUntil([&] { return !p.openedText().empty(); }));
    EXPECT_EQ(p.openedText(), "file://" + (p.program.programDir() / "readme.txt").string());
    std::ifstream mitshm(p.openerMitshm());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(mitshm), {}), "unset")
        << "a program the desktop opens must not inherit the program's X settings";

    fs::remove(p.opened());
    const fs::path installed = p.installReadme();
    p.chooseReadMe();
    ASSERT_TRUE(WaitUntil([&] { return !p.openedText().empty(); }));
    EXPECT_EQ(p.openedText(), "file://" + installed.string());
    EXPECT_TRUE(p.readmeWindow().empty());
}

TEST(ProgramReadme, WithoutAnOpenerTheInstalledReadmeComesUpInAWindowOfItsOwn) {
    ReadmeProgram p(false);
    ASSERT_TRUE(p.program.start());
    p.installReadme();
    p.chooseReadMe();
    ASSERT_TRUE(WaitUntil([&] { return !p.readmeWindow().empty(); }));
    const std::string window = p.readmeWindow();
    EXPECT_EQ(Shell("xprop -id " + window + " _NET_WM_NAME"),
              "_NET_WM_NAME(UTF8_STRING) = \"readme.txt — Veltra Scope\"");
    EXPECT_TRUE(p.program.otherWindows().empty());

    // Escape closes it; the program runs on.
    Shell("xdotool windowactivate --sync " + window + " key --clearmodifiers Escape");
    EXPECT_TRUE(WaitUntil([&] { return p.readmeWindow().empty(); }));
    EXPECT_TRUE(p.program.running());
    ASSERT_TRUE(p.program.close());
    EXPECT_EQ(p.program.wait(), 0);
}

}  // namespace
}  // namespace veltra::e2e
