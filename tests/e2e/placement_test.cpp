// What the window manager is told about the program's windows: their titles,
// and who chose where the main window opens and how big it is.

#include <gtest/gtest.h>

#include <string>

#include "e2e/program_harness.h"

namespace veltra::e2e {
namespace {

inline constexpr auto npos = std::string::npos;

// The first shown window of the program whose title matches `pattern`.
std::string FindWindow(const Program& program, const std::string& pattern) {
    std::string found;
    WaitUntil([&] {
        found = Shell("xdotool search --all --onlyvisible --pid " +
                      std::to_string(program.programPid()) + " --name '" + pattern +
                      "' 2>/dev/null | head -1");
        return !found.empty();
    });
    return found;
}

bool Viewable(const std::string& window) {
    return Shell("xwininfo -id " + window + " 2>/dev/null").find("IsViewable") != npos;
}

// The title as the window manager shows it.
std::string WmName(const std::string& window) {
    return Shell("xprop -id " + window + " _NET_WM_NAME 2>/dev/null");
}

std::string Quoted(const std::string& title) {
    return "_NET_WM_NAME(UTF8_STRING) = \"" + title + "\"";
}

// Opens a dialog with `keys` on the main window, reads its title, and closes
// it with `closeKey`.
std::string DialogTitle(const Program& program, const std::string& keys, const std::string& pattern,
                        const std::string& closeKey = "Escape") {
    Shell("xdotool windowactivate --sync " + program.window() + " key --clearmodifiers " + keys);
    const std::string dialog = FindWindow(program, pattern);
    if (dialog.empty()) {
        return "no window matching " + pattern;
    }
    const std::string title = WmName(dialog);
    Shell("xdotool windowactivate --sync " + dialog + " key --clearmodifiers " + closeKey);
    EXPECT_TRUE(WaitUntil([&] { return !Viewable(dialog); })) << pattern << " stayed open";
    return title;
}

TEST(ProgramTitles, EachDialogCarriesItsOwnTitleAndNothingMore) {
    DetectorPty pty;
    pty.feed(Frame(true));
    Program program(pty.device());
    program.setSetting("LogData", "True");
    program.setSetting("AutoMute", "0");
    ASSERT_TRUE(program.start());
    EXPECT_EQ(WmName(program.window()), Quoted("Veltra Scope"));

    EXPECT_EQ(DialogTitle(program, "alt+o s", "^Settings", "alt+c"), Quoted("Settings"));
    EXPECT_EQ(DialogTitle(program, "alt+o p", "^Com Port"), Quoted("Com Port"));
    EXPECT_EQ(DialogTitle(program, "alt+h a", "^About"), Quoted("About..."));
    // Saving needs logged data: the alert above has been logged by now.
    ASSERT_TRUE(
        WaitUntil([&] { return std::filesystem::exists(program.programDir() / "temp.log"); }));
    EXPECT_EQ(DialogTitle(program, "alt+f a", "^Save As"), Quoted("Save As..."));
}

TEST(ProgramTitles, ThePortErrorBoxIsTitledError) {
    Program program("/nonexistent/ttyVeltra");
    ASSERT_TRUE(program.start());
    const std::string box = FindWindow(program, "^Error");
    ASSERT_FALSE(box.empty());
    EXPECT_EQ(WmName(box), Quoted("Error"));
    Shell("xdotool windowactivate --sync " + box + " key --clearmodifiers Return");
}

std::string NormalHints(const Program& program) {
    return Shell("xprop -id " + program.window() + " WM_NORMAL_HINTS 2>/dev/null");
}

// With nothing stored, the window manager chooses the place, as for any new
// window; a stored place is the user's own choice and is asked for as such.
TEST(ProgramPlacement, OnlyAStoredPositionOverridesTheWindowManager) {
    Program first;
    first.setSetting("AutoConnect", "0");
    ASSERT_TRUE(first.start());
    const std::string hints = NormalHints(first);
    ASSERT_NE(hints.find("WM_NORMAL_HINTS"), npos) << hints;
    EXPECT_EQ(hints.find("specified location"), npos) << hints;

    Program returning;
    returning.setSetting("AutoConnect", "0");
    returning.setSetting("Left", "3000");
    returning.setSetting("Top", "2250");
    ASSERT_TRUE(returning.start());
    EXPECT_NE(NormalHints(returning).find("user specified location"), npos)
        << NormalHints(returning);
    // 15 twips per pixel at 96 dpi; the frame's top-left corner goes there.
    const std::string frame = Shell("xdotool getwindowgeometry " + returning.window());
    EXPECT_TRUE(WaitUntil([&] {
        const auto g = returning.geometry();
        return g.x >= 200 && g.x <= 210 && g.y >= 150 && g.y <= 190;
    })) << frame;
}

TEST(ProgramPlacement, TheMinimumWidthHoldsFromTheFirstFrame) {
    Program program;
    program.setSetting("AutoConnect", "0");
    program.setSetting("Width", "900");
    ASSERT_TRUE(program.start());
    // 1680 twips at 96 dpi.
    EXPECT_EQ(program.geometry().width, 112);
}

// A window stored far below the screen and wider than any screen opens on
// the screen, no larger than it.
TEST(ProgramPlacement, AStoredGeometryOffTheScreenIsBroughtBackOntoIt) {
    Program program;
    program.setSetting("AutoConnect", "0");
    program.setSetting("Top", "99999999");
    program.setSetting("Width", "1e30");
    ASSERT_TRUE(program.start());
    const std::string root = Shell("xdotool getdisplaygeometry");
    const int screenW = std::stoi(root.substr(0, root.find(' ')));
    const int screenH = std::stoi(root.substr(root.find(' ') + 1));
    const auto g = program.geometry();
    EXPECT_GE(g.x, 0);
    EXPECT_GE(g.y, 0);
    EXPECT_LE(g.x + g.width, screenW);
    EXPECT_LE(g.y + g.height, screenH);
    // As large as the screen lets it be, not back at its design size.
    EXPECT_GT(g.width, screenW * 3 / 4) << Shell("xdotool getwindowgeometry " + program.window());
}

}  // namespace
}  // namespace veltra::e2e
