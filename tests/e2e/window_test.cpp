// The main window under a real window manager and notification area.

#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "e2e/program_harness.h"

namespace veltra::e2e {

inline constexpr auto npos = std::string::npos;

namespace {

std::filesystem::path Shots() {
    return std::filesystem::path(VELTRA_SHOTS);
}

TEST(ProgramWindow, StartsFromAnEmptyStoreConnectedAtDesignSizeAndNotOnTop) {
    DetectorPty pty;
    pty.feed(Frame(false));
    Program program(pty.device());
    ASSERT_TRUE(program.start());
    EXPECT_TRUE(WaitUntil([&] { return program.holdsOpen(pty.device()); }));
    // 9015 x 3540 twips of display at 96 dpi, the menu bar above it.
    const auto g = program.geometry();
    EXPECT_EQ(g.width, 601);
    EXPECT_GT(g.height, 236);
    EXPECT_LT(g.height, 236 + 60);
    EXPECT_EQ(program.netWmState().find("_NET_WM_STATE_ABOVE"), npos);
    // The notification-area icon is its way back, never a task bar button.
    EXPECT_NE(program.netWmState().find("_NET_WM_STATE_SKIP_TASKBAR"), npos);
}

TEST(ProgramWindow, SavesItsGeometryAtExitAndComesBackThere) {
    Program program;
    program.setSetting("AutoConnect", "0");
    program.setSetting("KeepAspectRatio", "0");
    ASSERT_TRUE(program.start());
    Shell("xdotool windowsize --sync " + program.window() + " 700 320");
    Shell("xdotool windowmove --sync " + program.window() + " 140 180");
    ASSERT_TRUE(WaitUntil([&] {
        const auto g = program.geometry();
        return g.width == 700 && g.height == 320;
    }));
    const auto before = program.geometry();
    ASSERT_TRUE(program.close());
    ASSERT_EQ(program.wait(), 0);
    // Twips at 96 dpi: 15 per pixel.
    EXPECT_EQ(program.setting("Width"), std::to_string(700 * 15));
    EXPECT_EQ(program.setting("Height"), std::to_string(320 * 15));
    ASSERT_TRUE(program.setting("Left"));
    ASSERT_TRUE(program.setting("Top"));

    ASSERT_TRUE(program.start());
    ASSERT_TRUE(WaitUntil([&] {
        const auto g = program.geometry();
        return g.x == before.x && g.y == before.y;
    })) << program.geometry().x
        << "," << program.geometry().y;
    const auto after = program.geometry();
    EXPECT_EQ(after.width, before.width);
    EXPECT_EQ(after.height, before.height);
}

TEST(ProgramWindow, HideTitlebarGivesAFramelessWindowAndOnTopKeepsItAbove) {
    Program program;
    program.setSetting("AutoConnect", "0");
    program.setSetting("HideTitlebar", "1");
    program.setSetting("OnTop", "1");
    ASSERT_TRUE(program.start());
    EXPECT_TRUE(WaitUntil([&] { return program.netWmState().find("_NET_WM_STATE_ABOVE") != npos; }))
        << program.netWmState();
    EXPECT_TRUE(WaitUntil([&] { return program.frameless(); }))
        << Shell("xprop -id " + program.window() + " _NET_FRAME_EXTENTS");
}

TEST(ProgramWindow, AFramelessWindowStillResizesAtItsEdges) {
    Program program;
    program.setSetting("AutoConnect", "0");
    program.setSetting("HideTitlebar", "1");
    program.setSetting("KeepAspectRatio", "0");
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(WaitUntil([&] { return program.frameless(); }));
    const auto g = program.geometry();
    // Two pixels inside the bottom-right corner.
    const int x = g.x + g.width - 2, y = g.y + g.height - 2;
    Shell("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
          " sleep 0.1 mousedown 1 sleep 0.1 mousemove_relative 30 20 sleep 0.1 "
          "mousemove_relative 30 20 sleep 0.1 mousemove_relative 30 20 sleep 0.2 mouseup 1");
    EXPECT_TRUE(WaitUntil([&] {
        const auto now = program.geometry();
        return now.width - g.width >= 40 && now.height - g.height >= 25 && now.x == g.x &&
               now.y == g.y;
    })) << program.geometry().width
        << "x" << program.geometry().height;
}

TEST(ProgramWindow, MinimisingHidesItAndTheTrayIconOrAnAlertBringsItBack) {
    DetectorPty pty;
    pty.feed(Frame(false));
    Program program(pty.device());
    program.setSetting("AutoMute", "0");
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(WaitUntil([&] { return !program.trayIcon().empty(); }));

    Shell("xdotool windowminimize " + program.window());
    ASSERT_TRUE(WaitUntil([&] { return !program.mapped(); }));
    // Gone from the task bar too: the icon is the way back. Under load the
    // search may miss it right after the window went; an empty id would
    // send the clicks to no window at all.
    std::string icon;
    ASSERT_TRUE(WaitUntil([&] { return !(icon = program.trayIcon()).empty(); }));
    Shell("xdotool mousemove --window " + icon + " 8 8 click --repeat 2 --delay 120 1");
    EXPECT_TRUE(WaitUntil([&] { return program.mapped(); }));

    Shell("xdotool windowminimize " + program.window());
    ASSERT_TRUE(WaitUntil([&] { return !program.mapped(); }));
    pty.feed(Frame(true));
    EXPECT_TRUE(WaitUntil([&] { return program.mapped(); }));
}

TEST(ProgramWindow, DraggingTheFaceMovesTheWindow) {
    Program program;
    program.setSetting("AutoConnect", "0");
    ASSERT_TRUE(program.start());
    const auto g = program.geometry();
    // On the banner, away from the mute button and the minimise box.
    const int x = g.x + g.width / 2, y = g.y + g.height - 20;
    Shell("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
          " sleep 0.1 mousedown 1 sleep 0.1 mousemove_relative 20 10 sleep 0.1 "
          "mousemove_relative 20 10 sleep 0.1 mousemove_relative 20 10 sleep 0.2 mouseup 1");
    // The window manager's move starts from where the first movement got
    // to; a move by hand follows the whole way.
    EXPECT_TRUE(WaitUntil([&] {
        const auto now = program.geometry();
        return now.x - g.x >= 40 && now.x - g.x <= 60 && now.y - g.y >= 20 && now.y - g.y <= 30;
    })) << program.geometry().x
        << "," << program.geometry().y;
}

TEST(ProgramWindow, TheFaceLightsWithTheDetector) {
    DetectorPty pty;
    pty.feed(Frame(false, Lit::None));
    Program program(pty.device());
    program.setSetting("AutoMute", "0");
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(WaitUntil([&] { return program.holdsOpen(pty.device()); }));
    const auto unlit = Shots() / "face-unlit.png";
    // Give the first frames time to arrive before the shot.
    ASSERT_TRUE(WaitUntil([&] { return program.screenshot(unlit) && LitPixels(unlit) == 0; }));

    pty.feed(Frame(true, Lit::All));
    const auto lit = Shots() / "face-lit.png";
    ASSERT_TRUE(WaitUntil([&] { return program.screenshot(lit) && LitPixels(lit) > 3000; }))
        << LitPixels(lit);
    // Every element drawn: two shots alike.
    QImage firstLit;
    ASSERT_TRUE(WaitUntil([&] {
        program.screenshot(lit);
        QImage shot(QString::fromStdString(lit.string()));
        const bool steady = !firstLit.isNull() && shot == firstLit;
        firstLit = shot;
        return steady;
    }));

    pty.feed(Frame(true));
    const auto alert = Shots() / "face-alert.png";
    ASSERT_TRUE(WaitUntil([&] {
        const int n = program.screenshot(alert) ? LitPixels(alert) : 0;
        return n > 300 && n < LitPixels(lit) / 2;
    }));

    // Lit again, each element shows the pixels it kept from its first
    // lighting: the same face, pixel for pixel, as when it was drawn afresh.
    pty.feed(Frame(true, Lit::All));
    const auto again = Shots() / "face-lit-again.png";
    EXPECT_TRUE(WaitUntil([&] {
        return program.screenshot(again) &&
               QImage(QString::fromStdString(again.string())) == firstLit;
    })) << "compare "
        << lit << " with " << again;
}

}  // namespace
}  // namespace veltra::e2e

namespace veltra::e2e {
namespace {

// A dialog opened from a window kept on top leaves the top band while it is
// up, so that it is never hidden behind its own window, and the window goes
// back on top once it is closed.
TEST(ProgramWindow, AnOnTopWindowStepsDownForItsAboutBoxAndBackUpAfter) {
    Program program;
    program.setSetting("AutoConnect", "0");
    program.setSetting("OnTop", "1");
    ASSERT_TRUE(program.start());
    auto above = [&] { return program.netWmState().find("_NET_WM_STATE_ABOVE") != npos; };
    ASSERT_TRUE(WaitUntil(above));

    Shell("xdotool windowactivate --sync " + program.window() + " key --clearmodifiers alt+h a");
    std::string about;
    ASSERT_TRUE(WaitUntil([&] {
        about = Shell("xdotool search --all --onlyvisible --pid " +
                      std::to_string(program.programPid()) +
                      " --name '^About\\.\\.\\.$' 2>/dev/null | head -1");
        return !about.empty();
    }));
    EXPECT_TRUE(WaitUntil([&] { return !above(); })) << program.netWmState();

    Shell("xdotool windowactivate --sync " + about + " key --clearmodifiers alt+o");
    EXPECT_TRUE(WaitUntil([&] {
        return Shell("xwininfo -id " + about + " 2>/dev/null").find("IsViewable") == npos;
    }));
    EXPECT_TRUE(WaitUntil(above)) << program.netWmState();
}

}  // namespace
}  // namespace veltra::e2e
