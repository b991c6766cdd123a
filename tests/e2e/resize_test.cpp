// The face rescales with the real window, in proportion, and comes back
// exactly; the aspect rule holds what the window manager is asked for.

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <string>

#include "e2e/program_harness.h"

namespace veltra::e2e {
namespace {

std::filesystem::path Shot(const std::string& name) {
    return std::filesystem::path(VELTRA_SHOTS) / name;
}

bool SizeTo(Program& program, int width, int height) {
    Shell("xdotool windowsize --sync " + program.window() + " " + std::to_string(width) + " " +
          std::to_string(height));
    return WaitUntil([&] {
        const auto g = program.geometry();
        return g.width == width && g.height == height;
    });
}

// Takes shots until two in a row of the given size are the same and the lit
// area is no longer what it was before the resize: the window manager's new
// size arrives before the face has been laid out and painted again at it, and
// a shot in between shows the old face on the new window.
bool RescaledShot(Program& program, const std::filesystem::path& path, QSize size, int litBefore) {
    QImage last;
    return WaitUntil([&] {
        program.screenshot(path);
        QImage now(QString::fromStdString(path.string()));
        const bool steady = now.size() == size && now == last && LitPixels(path) != litBefore;
        last = now;
        return steady;
    });
}

TEST(FaceScaling, TwiceTheSizeAndBackLeavesTheFaceExactlyAsItWas) {
    DetectorPty pty;
    pty.feed(Frame(true, Lit::All));
    Program program(pty.device());
    program.setSetting("AutoMute", "0");
    program.setSetting("KeepAspectRatio", "0");
    program.setSetting("HideTitlebar", "1");  // the face alone fills the window
    ASSERT_TRUE(program.start());
    const auto g = program.geometry();
    ASSERT_EQ(g.width, 601);

    // Lit, and painted, before the first shot.
    const auto before = Shot("face-1x.png");
    ASSERT_TRUE(WaitUntil([&] { return program.screenshot(before) && LitPixels(before) > 3000; }));
    QImage one;
    ASSERT_TRUE(WaitUntil([&] {
        program.screenshot(before);
        QImage again(QString::fromStdString(before.string()));
        const bool steady = !one.isNull() && again == one;
        one = again;
        return steady;
    }));

    ASSERT_TRUE(SizeTo(program, 2 * g.width, 2 * g.height));
    const auto twice = Shot("face-2x.png");
    ASSERT_TRUE(RescaledShot(program, twice, QSize(2 * g.width, 2 * g.height), LitPixels(before)));

    ASSERT_TRUE(SizeTo(program, g.width / 2, g.height / 2));
    const auto half = Shot("face-0.5x.png");
    ASSERT_TRUE(RescaledShot(program, half, QSize(g.width / 2, g.height / 2), LitPixels(twice)));

    // Back at the recorded size every control is where it was: the same
    // picture, pixel for pixel.
    ASSERT_TRUE(SizeTo(program, g.width, g.height));
    const auto back = Shot("face-1x-again.png");
    EXPECT_TRUE(WaitUntil([&] {
        program.screenshot(back);
        return QImage(QString::fromStdString(back.string())) == one;
    }));

    // Scaled, not cropped: the lit meter and lamps at twice the size cover
    // about four times the area.
    const double ratio = double(LitPixels(twice)) / LitPixels(before);
    EXPECT_GT(ratio, 3.5);
    EXPECT_LT(ratio, 4.5);
}

// The face's width over its height after the window manager was asked for
// a size of a different shape.
double AspectAfterResize(bool hideMute) {
    Program program;
    program.setSetting("AutoConnect", "0");
    program.setSetting("KeepAspectRatio", "1");
    program.setSetting("HideTitlebar", "1");
    program.setSetting("HideMute", hideMute ? "1" : "0");
    if (!program.start()) {
        return 0;
    }
    Shell("xdotool windowsize --sync " + program.window() + " 900 500");
    WaitUntil([&] { return program.geometry().width == 900; });
    // The height follows the width.
    WaitUntil([&] { return program.geometry().height != 500; });
    const auto g = program.geometry();
    return double(g.width) / g.height;
}

TEST(FaceScaling, KeepAspectHoldsTheFacesProportions) {
    EXPECT_NEAR(AspectAfterResize(false), 2.543, 0.01);
    EXPECT_NEAR(AspectAfterResize(true), 1.873, 0.01);
}

}  // namespace
}  // namespace veltra::e2e
