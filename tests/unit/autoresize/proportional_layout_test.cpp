#include "autoresize/proportional_layout.h"

#include <gtest/gtest.h>

#include "fake_layout.h"

namespace veltra {
namespace {

using test::FakeControl;
using test::FakeParent;

// A window whose client area is 4000 x 2000 twips.
struct Window {
    Window() : parent(4000, 2000) {
        parent.frameWidth = 0;
        parent.frameHeight = 0;
    }
    void Apply(LayoutOptions options = {}) { layout.ApplyLayout(parent, options); }
    FakeParent parent;
    ProportionalLayout layout;
};

FakeControl& AddLabel(FakeParent& p, double left, double top, double width, double height,
                      double font) {
    return p.Add(
        "Label",
        {{"Left", left}, {"Top", top}, {"Width", width}, {"Height", height}, {"FontSize", font}});
}

TEST(ProportionalLayout, ScalesAgainstTheReferenceAndComesBackExactly) {
    Window w;
    FakeControl& a = AddLabel(w.parent, 120, 240, 1000, 300, 8.25);
    FakeControl& b = AddLabel(w.parent, 2250, 675, 1455, 1815, 12);
    const auto a0 = a.props;
    const auto b0 = b.props;
    w.layout.RecordLayout(w.parent);
    ASSERT_EQ(w.layout.LayoutCount(), 2);
    EXPECT_EQ(w.layout.OrigScaleWidth(), 4000.f);
    EXPECT_EQ(w.layout.OrigScaleHeight(), 2000.f);

    w.parent.DragTo(8000, 4000);
    w.Apply();
    EXPECT_EQ(a["Left"], 240);
    EXPECT_EQ(a["Top"], 480);
    EXPECT_EQ(a["Width"], 2000);
    EXPECT_EQ(a["Height"], 600);
    EXPECT_EQ(a["FontSize"], 16.5);
    EXPECT_EQ(b["FontSize"], 24);

    // Only wider: fonts follow the smaller factor, which is 1.
    w.parent.DragTo(8000, 2000);
    w.Apply();
    EXPECT_EQ(b["Left"], 4500);
    EXPECT_EQ(b["Width"], 2910);
    EXPECT_EQ(b["Top"], 675);
    EXPECT_EQ(b["Height"], 1815);
    EXPECT_EQ(b["FontSize"], 12);

    // Through odd sizes and back: nothing drifts.
    for (double width : {5477.0, 3001.0, 9999.0, 4000.0}) {
        w.parent.DragTo(width, width * 0.37);
        w.Apply();
    }
    w.parent.DragTo(4000, 2000);
    w.Apply();
    EXPECT_EQ(a.props, a0);
    EXPECT_EQ(b.props, b0);
}

TEST(ProportionalLayout, FontTakesTheSmallerFactorAtSinglePrecision) {
    Window w;
    FakeControl& a = AddLabel(w.parent, 0, 0, 100, 100, 9.75);
    w.layout.RecordLayout(w.parent);
    w.parent.DragTo(8000, 3000);  // sx 2, sy 1.5
    w.Apply();
    EXPECT_EQ(a["FontSize"], 14.625);

    w.parent.DragTo(4000 * 1.1, 2000 * 1.3);
    w.Apply();
    // 1.1 as a float times the recorded float, rounded to a float.
    EXPECT_EQ(a["FontSize"], static_cast<float>(static_cast<double>(1.1f) * 9.75f));
    EXPECT_EQ(a["Left"], 0);

    w.parent.DragTo(8000, 4000);
    w.Apply({.FontResizable = false});
    EXPECT_EQ(a["FontSize"], static_cast<float>(static_cast<double>(1.1f) * 9.75f));
    EXPECT_EQ(a["Width"], 200);
}

TEST(ProportionalLayout, LinesScaleTheirEndsAndTakeWholeWidthsFromOne) {
    Window w;
    FakeControl& line = w.parent.Add(
        "Line", {{"X1", 100}, {"Y1", 200}, {"X2", 300}, {"Y2", 400}, {"BorderWidth", 2}});
    // A line has no Left and no font; asking for them must not break it.
    w.layout.RecordLayout(w.parent);
    ASSERT_EQ(w.layout.LayoutCount(), 1);
    EXPECT_EQ(w.layout.Layouts()[0].Left, 100.f);
    EXPECT_EQ(w.layout.Layouts()[0].Height, 400.f);
    EXPECT_EQ(w.layout.Layouts()[0].BorderWidth, 2.f);

    w.parent.DragTo(8000, 2000);
    w.Apply();
    EXPECT_EQ(line["X1"], 200);
    EXPECT_EQ(line["Y1"], 200);
    EXPECT_EQ(line["X2"], 600);
    EXPECT_EQ(line["Y2"], 400);
    EXPECT_EQ(line["BorderWidth"], 3);

    // Mean factor 0.55: 1.1 rounds to 1. Mean 0.2: 0.4 is refused and the
    // line keeps the width it had.
    w.parent.DragTo(4000 * 0.6, 2000 * 0.5);
    w.Apply();
    EXPECT_EQ(line["BorderWidth"], 1);
    line.props["BorderWidth"] = 5;
    w.parent.DragTo(4000 * 0.2, 2000 * 0.2);
    w.Apply();
    EXPECT_EQ(line["BorderWidth"], 5);
    EXPECT_EQ(line["X2"], static_cast<float>(0.2f * 300.0));
}

TEST(ProportionalLayout, SkipsExcludedControlsAndKeepsCollectionPositions) {
    Window w;
    FakeControl& docked = AddLabel(w.parent, 0, 1800, 4000, 200, 8);
    docked.type = "StatusBar";
    docked.props["Align"] = 2;
    FakeControl& floating = AddLabel(w.parent, 0, 1000, 2000, 200, 8);
    floating.type = "StatusBar";
    floating.props["Align"] = 0;
    FakeControl& tagged = AddLabel(w.parent, 10, 10, 10, 10, 8);
    tagged.tag = "NO";
    FakeControl& lower = AddLabel(w.parent, 20, 20, 20, 20, 8);
    lower.tag = "no";

    w.layout.RecordLayout(w.parent);
    ASSERT_EQ(w.layout.LayoutCount(), 2);
    EXPECT_EQ(w.layout.Layouts()[0].Index, 1);
    EXPECT_EQ(w.layout.Layouts()[1].Index, 3);

    w.parent.DragTo(8000, 4000);
    w.Apply();
    EXPECT_TRUE(docked.sets.empty());
    EXPECT_TRUE(tagged.sets.empty());
    EXPECT_EQ(floating["Top"], 2000);
    EXPECT_EQ(lower["Left"], 40);
}

TEST(ProportionalLayout, ControlOnAHiddenTabScalesItsPlaceOnTheTab) {
    Window w;
    FakeControl& hidden = AddLabel(w.parent, -74000, 100, 500, 200, 8);
    hidden.container = "SSTab";
    FakeControl& shown = AddLabel(w.parent, 1000, 100, 500, 200, 8);
    shown.container = "SSTab";
    FakeControl& offLeft = AddLabel(w.parent, -500, 100, 500, 200, 8);
    offLeft.container = "Frame";

    w.layout.RecordLayout(w.parent);
    EXPECT_EQ(w.layout.Layouts()[0].Left, 1000.f);
    w.parent.DragTo(8000, 2000);
    w.Apply();
    EXPECT_EQ(hidden["Left"], -73000);
    EXPECT_EQ(shown["Left"], 2000);
    EXPECT_EQ(offLeft["Left"], -1000);

    // The tab is shown again (its controls move back by the offset): it
    // scales as any other control.
    hidden.props["Left"] = 2000;
    w.parent.DragTo(4000, 2000);
    w.Apply();
    EXPECT_EQ(hidden["Left"], 1000);
}

TEST(ProportionalLayout, RefusedOrMissingPropertiesAreSkippedOneByOne) {
    Window w;
    FakeControl& picture =
        w.parent.Add("PictureBox", {{"Left", 100}, {"Top", 100}, {"Width", 400}, {"Height", 300}});
    picture.readOnly = {"Top"};
    FakeControl& menu = w.parent.Add("Menu", {{"Caption", 0}});
    FakeControl& label = AddLabel(w.parent, 50, 60, 70, 80, 10);

    w.layout.RecordLayout(w.parent);
    ASSERT_EQ(w.layout.LayoutCount(), 3);
    EXPECT_EQ(w.layout.Layouts()[1].Left, 0.f);
    EXPECT_EQ(w.layout.Layouts()[0].FontSize, 0.f);

    w.parent.DragTo(8000, 4000);
    w.Apply();
    EXPECT_EQ(picture["Left"], 200);
    EXPECT_EQ(picture["Top"], 100);
    EXPECT_EQ(picture["Width"], 800);
    EXPECT_EQ(picture["Height"], 600);
    EXPECT_TRUE(menu.sets.empty());
    EXPECT_EQ(label["Height"], 160);
    EXPECT_EQ(label["FontSize"], 20);
}

TEST(ProportionalLayout, AspectIsCorrectedBeforeTheFactorsAreTaken) {
    Window w;
    w.parent.frameHeight = 400;
    w.parent.outerHeight = 2400;  // client 4000 x 2000
    FakeControl& a = AddLabel(w.parent, 0, 1000, 100, 100, 8);
    w.layout.RecordLayout(w.parent);

    // The correction raises the window's resize handling again at once; that
    // nested run must not correct or scale (it would see a half-done state).
    int nested = 0;
    w.parent.onResize = [&] {
        ++nested;
        EXPECT_TRUE(w.layout.AdjustingHeight());
        w.layout.ApplyLayout(w.parent, {.KeepAspectRatio = true, .AspectRatioValue = 0.5});
    };
    w.parent.outerWidth = 6000;
    w.Apply({.KeepAspectRatio = true, .AspectRatioValue = 0.5});
    EXPECT_EQ(w.parent.outerHeight, 3000);
    EXPECT_EQ(nested, 1);
    EXPECT_FALSE(w.layout.AdjustingHeight());
    EXPECT_EQ(a["Top"], 1300);  // sy = (3000 - 400) / 2000
    EXPECT_EQ(a["Left"], 0);
    EXPECT_EQ(a["Width"], 150);

    // Maximised (or minimised): the window's size is the window system's.
    w.parent.onResize = nullptr;
    w.parent.state = WindowState::Maximised;
    w.parent.outerHeight = 5000;
    w.Apply({.KeepAspectRatio = true, .AspectRatioValue = 0.5});
    EXPECT_EQ(w.parent.outerHeight, 5000);
    EXPECT_EQ(a["Top"], 2300);
}

TEST(ProportionalLayout, WithoutAReferenceSizeNoControlMoves) {
    Window w;
    w.parent.outerHeight = 0;
    FakeControl& a = AddLabel(w.parent, 10, 20, 30, 40, 8);
    w.layout.RecordLayout(w.parent);
    w.parent.DragTo(8000, 4000);
    w.Apply({.KeepAspectRatio = true, .AspectRatioValue = 0.25});
    EXPECT_TRUE(a.sets.empty());
    EXPECT_EQ(w.parent.outerHeight, 2000);  // the aspect rule still holds
}

}  // namespace
}  // namespace veltra
