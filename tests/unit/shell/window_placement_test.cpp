// Where the main window opens from what the settings file says.

#include "shell/window_placement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace veltra {
namespace {

// One 1600 x 1000 screen with a 24-pixel panel along its top; a second one
// to its right.
const std::vector<PixelRect> kOneScreen = {{0, 24, 1600, 976}};
const std::vector<PixelRect> kTwoScreens = {{0, 24, 1600, 976}, {1600, 0, 1280, 1024}};

PlacementLimits Limits(const std::vector<PixelRect>& screens, PixelRect home) {
    return PlacementLimits{{0, 0, 601, 256}, 112, screens, home};
}

TEST(WindowPlacement, NothingStoredKeepsTheDesignSizeAndLeavesThePlaceToTheWindowManager) {
    const WindowPlacement p = PlaceWindow({}, Limits(kOneScreen, kOneScreen[0]));
    EXPECT_EQ(p.width, 601);
    EXPECT_EQ(p.height, 256);
    EXPECT_FALSE(p.x);
    EXPECT_FALSE(p.y);
}

TEST(WindowPlacement, AStoredGeometryOnAScreenIsTakenAsItIs) {
    const WindowPlacement p =
        PlaceWindow({700.0, 320.0, 140.0, 180.0}, Limits(kOneScreen, kOneScreen[0]));
    EXPECT_EQ(p.width, 700);
    EXPECT_EQ(p.height, 320);
    EXPECT_EQ(p.x, 140);
    EXPECT_EQ(p.y, 180);
    // Half on the second screen, half off the desktop: still reachable there.
    const WindowPlacement q =
        PlaceWindow({600.0, 300.0, 2600.0, 900.0}, Limits(kTwoScreens, kTwoScreens[1]));
    EXPECT_EQ(q.x, 2600);
    EXPECT_EQ(q.y, 900);
}

TEST(WindowPlacement, OnlyOneStoredCoordinateKeepsTheOtherAtItsCurrentValue) {
    const WindowPlacement p = PlaceWindow({{}, {}, 300.0, {}}, Limits(kOneScreen, kOneScreen[0]));
    EXPECT_EQ(p.x, 300);
    // The current top (0) is under the panel but enough of the window shows.
    EXPECT_EQ(p.y, 0);
}

TEST(WindowPlacement, TheWidthNeverStartsBelowTheFloor) {
    EXPECT_EQ(PlaceWindow({60.0, {}, {}, {}}, Limits(kOneScreen, kOneScreen[0])).width, 112);
    EXPECT_EQ(PlaceWindow({-5000.0, {}, {}, {}}, Limits(kOneScreen, kOneScreen[0])).width, 112);
    // A screen narrower than the floor wins: the window must fit.
    const std::vector<PixelRect> tiny = {{0, 0, 100, 80}};
    EXPECT_EQ(PlaceWindow({60.0, {}, {}, {}}, Limits(tiny, tiny[0])).width, 100);
}

TEST(WindowPlacement, AWindowLargerThanItsScreenShrinksToIt) {
    const WindowPlacement p =
        PlaceWindow({1e30 / 15, 4e6, {}, {}}, Limits(kOneScreen, kOneScreen[0]));
    EXPECT_EQ(p.width, 1600);
    EXPECT_EQ(p.height, 976);
    EXPECT_EQ(PlaceWindow({{}, -40.0, {}, {}}, Limits(kOneScreen, kOneScreen[0])).height, 1);
}

TEST(WindowPlacement, AWindowOffEveryScreenComesBackOntoItsHomeScreen) {
    const auto home = kOneScreen[0];
    // Far below, as a "Top" of 99999999 twips puts it.
    WindowPlacement p = PlaceWindow({{}, {}, {}, 99999999.0 / 15}, Limits(kOneScreen, home));
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, home.y + home.height - 256);
    // Left of the desktop and above it: into the nearest corner.
    p = PlaceWindow({{}, {}, -4000.0, -3000.0}, Limits(kOneScreen, home));
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 24);
    // Where a second screen used to be.
    p = PlaceWindow({{}, {}, 2000.0, 100.0}, Limits(kOneScreen, home));
    EXPECT_EQ(p.x, 1600 - 601);
    EXPECT_EQ(p.y, 100);
    // A sliver of a few pixels is not enough to see or grab.
    p = PlaceWindow({{}, {}, 1595.0, 100.0}, Limits(kOneScreen, home));
    EXPECT_EQ(p.x, 1600 - 601);
}

// A window as wide as the screen whose height follows its width, with a
// frame around it: the whole of it, frame and final height, has to fit.
TEST(WindowPlacement, TheFitAllowsForTheFrameAndTheHeightTheAspectRuleWillGive) {
    PlacementLimits limits = Limits(kOneScreen, kOneScreen[0]);
    limits.frameWidth = 16;
    limits.frameHeight = 40;
    limits.aspect = 2.543;
    limits.aspectExtraHeight = 20;
    const WindowPlacement p = PlaceWindow({1e9, {}, {}, 1e7}, limits);
    EXPECT_EQ(p.width, 1600 - 16);
    const int finalHeight = 20 + static_cast<int>(std::lround(p.width / 2.543));
    EXPECT_EQ(*p.y + finalHeight + 40, 24 + 976);

    // Too tall for the screen at that width: the width gives way.
    const std::vector<PixelRect> wide = {{0, 0, 3000, 600}};
    limits.screens = wide;
    limits.home = wide[0];
    const WindowPlacement q = PlaceWindow({1e9, {}, {}, {}}, limits);
    EXPECT_LE(20 + std::lround(q.width / 2.543) + 40, 600);
    EXPECT_GT(q.width, 1300);
}

}  // namespace
}  // namespace veltra
