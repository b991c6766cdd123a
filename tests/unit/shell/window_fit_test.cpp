#include "shell/window_fit.h"

#include <gtest/gtest.h>

#include <limits>

namespace veltra {
namespace {

const PixelRect kDesktop{0, 0, 1920, 1080};
const PixelRect kNow{100, 100, 601, 236};

TEST(FitOnDesktop, KeepsAWindowThatAlreadyFits) {
    const PixelRect r = FitOnDesktop(300, 200, 640, 250, kNow, kDesktop, 112, 20);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.width, 640);
    EXPECT_EQ(r.height, 250);
}

TEST(FitOnDesktop, AbsurdSizesBecomeUsableOnes) {
    // A width of 1e30 twips, a negative height.
    PixelRect r = FitOnDesktop(0, 0, 6.7e28, -5, kNow, kDesktop, 112, 20);
    EXPECT_EQ(r.width, 1920);
    EXPECT_EQ(r.height, 20);
    r = FitOnDesktop(0, 0, 0, 0, kNow, kDesktop, 112, 20);
    EXPECT_EQ(r.width, 112);
    EXPECT_EQ(r.height, 20);
}

TEST(FitOnDesktop, AWindowOffTheDesktopIsBroughtBackWhole) {
    PixelRect r = FitOnDesktop(-1e9, 5e6, 640, 250, kNow, kDesktop, 112, 20);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 1080 - 250);
    // Half over the right edge of a second screen's desktop.
    const PixelRect wide{-1280, 0, 3200, 1024};
    r = FitOnDesktop(1800, -40, 640, 250, kNow, wide, 112, 20);
    EXPECT_EQ(r.left, 3200 - 1280 - 640);
    EXPECT_EQ(r.top, 0);
}

TEST(FitOnDesktop, NonFiniteMeasuresFallBackToTheCurrentOnes) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const PixelRect r = FitOnDesktop(nan, -inf, inf, nan, kNow, kDesktop, 112, 20);
    EXPECT_EQ(r.left, kNow.left);
    EXPECT_EQ(r.top, kNow.top);
    EXPECT_EQ(r.width, kNow.width);
    EXPECT_EQ(r.height, kNow.height);
}

TEST(FitOnDesktop, ADesktopSmallerThanTheMinimumWins) {
    const PixelRect tiny{0, 0, 100, 10};
    const PixelRect r = FitOnDesktop(50, 50, 640, 250, kNow, tiny, 112, 20);
    EXPECT_EQ(r.width, 100);
    EXPECT_EQ(r.height, 10);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
}

}  // namespace
}  // namespace veltra
