#include "autoresize/auto_resize.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "fake_layout.h"

namespace veltra {
namespace {

using test::FakeControl;
using test::FakeParent;

std::vector<std::string> Names(const PropertyBag& bag) {
    std::vector<std::string> names;
    for (const auto& e : bag.Entries()) {
        names.push_back(e.first);
    }
    return names;
}

PropertyBag mainWindowProperties() {
    PropertyBag bag;
    bag.WriteProperty("AspectRatioValue", 0.0);
    bag.WriteProperty("HMin", 500);
    bag.WriteProperty("WMin", 1000);
    return bag;
}

TEST(AutoResizeProperties, NewInstanceDefaultsAndItsOwnBox) {
    AutoResize r(nullptr);
    r.SetHMin(1);
    r.SetEnabled(false);
    r.initProperties();
    EXPECT_TRUE(r.Enabled());
    EXPECT_TRUE(r.FontResizable());
    EXPECT_FALSE(r.KeepAspectRatio());
    EXPECT_EQ(r.AspectRatioValue(), 0);
    EXPECT_EQ(r.HMin(), 3000);
    EXPECT_EQ(r.WMin(), 4800);
    EXPECT_EQ(r.Tag(), "NO");
    EXPECT_EQ(r.Name(), "Resize");

    r.ResizeBox(1200, 90);
    EXPECT_EQ(r.BoxWidth(), 400);
    EXPECT_EQ(r.BoxHeight(), 400);
}

TEST(AutoResizeProperties, SavedSetLeavesOutDefaultsButNeverTheRatio) {
    AutoResize fresh(nullptr);
    fresh.initProperties();
    PropertyBag bag;
    fresh.writeProperties(bag);
    EXPECT_EQ(Names(bag), std::vector<std::string>{"AspectRatioValue"});

    AutoResize changed(nullptr);
    changed.initProperties();
    changed.SetEnabled(false);
    changed.SetWMin(10);
    changed.SetHMin(20);
    changed.SetAspectRatioValue(0.75);
    changed.SetFontResizable(false);
    changed.SetKeepAspectRatio(true);  // no parent: the ratio stays
    PropertyBag all;
    changed.writeProperties(all);
    EXPECT_EQ(Names(all),
              (std::vector<std::string>{"FontResizable", "KeepAspectRatio", "AspectRatioValue",
                                        "HMin", "WMin", "Enabled"}));

    // Loading gives back what was saved, on a window of any shape: the saved
    // ratio replaces the one the KeepAspectRatio setter takes.
    FakeParent window(4800, 3000);
    AutoResize loaded(&window);
    loaded.readProperties(all);
    EXPECT_FALSE(loaded.Enabled());
    EXPECT_FALSE(loaded.FontResizable());
    EXPECT_TRUE(loaded.KeepAspectRatio());
    EXPECT_EQ(loaded.AspectRatioValue(), 0.75);
    EXPECT_EQ(loaded.HMin(), 20);
    EXPECT_EQ(loaded.WMin(), 10);
    PropertyBag again;
    loaded.writeProperties(again);
    EXPECT_EQ(again, all);
}

TEST(AutoResizeProperties, LoadingTheMainWindowsSetAndDamagedValues) {
    FakeParent window(9135, 4230);
    AutoResize r(&window);
    r.readProperties(mainWindowProperties());
    EXPECT_TRUE(r.Enabled());
    EXPECT_TRUE(r.FontResizable());
    EXPECT_FALSE(r.KeepAspectRatio());
    EXPECT_EQ(r.AspectRatioValue(), 0);
    EXPECT_EQ(r.HMin(), 500);
    EXPECT_EQ(r.WMin(), 1000);
    EXPECT_EQ(r.ParentForm(), &window);

    // Values that cannot stand for their property fall back to the default.
    PropertyBag bad;
    bad.WriteProperty("HMin", 2.5);
    bad.WriteProperty("WMin", 1e12);
    bad.WriteProperty("AspectRatioValue", std::numeric_limits<double>::quiet_NaN());
    bad.WriteProperty("Enabled", 0);
    r.readProperties(bad);
    EXPECT_EQ(r.HMin(), 3000);
    EXPECT_EQ(r.WMin(), 4800);
    EXPECT_EQ(r.AspectRatioValue(), 0);
    EXPECT_FALSE(r.Enabled());
}

TEST(AutoResizeProperties, KeepAspectRatioTakesTheWindowsRatio) {
    FakeParent window(4800, 3000);
    AutoResize r(&window);
    std::vector<std::string> changed;
    r.SetOnPropertyChanged([&](std::string_view name) { changed.emplace_back(name); });
    r.SetKeepAspectRatio(true);
    EXPECT_EQ(r.AspectRatioValue(), 0.625);
    r.SetKeepAspectRatio(false);
    EXPECT_EQ(r.AspectRatioValue(), 0);

    // A window without width gives no ratio: the old one stays, and the
    // change is still announced.
    r.SetAspectRatioValue(0.4);
    window.outerWidth = 0;
    r.SetKeepAspectRatio(true);
    EXPECT_EQ(r.AspectRatioValue(), 0.4);
    EXPECT_EQ(changed.size(), 3u);
    EXPECT_EQ(changed.back(), "KeepAspectRatio");
}

// A component attached to its window the way the program does it: loaded,
// the window's resize events forwarded, a reference layout taken.
struct Attached {
    explicit Attached(HostMode mode = HostMode::Run) : window(6000, 4000), resize(&window, mode) {
        label = &window.Add(
            "Label",
            {{"Left", 100}, {"Top", 200}, {"Width", 300}, {"Height", 400}, {"FontSize", 8}});
        resize.readProperties(mainWindowProperties());
        window.onResize = [this] {
            ++handled;
            resize.onParentResized();
        };
        resize.StoreSettings();
        window.log.clear();
    }
    FakeParent window;
    AutoResize resize;
    FakeControl* label;
    int handled = 0;
};

TEST(AutoResizeParentResize, MinimumSizeIsEnforcedThroughANestedResize) {
    Attached a;
    a.resize.SetHMin(3000);
    a.resize.SetWMin(4800);
    a.window.DragTo(4799, 3000);  // height exactly at its minimum: left alone
    EXPECT_EQ(a.window.outerWidth, 4800);
    EXPECT_EQ(a.window.outerHeight, 3000);
    EXPECT_EQ(a.handled, 2);
    EXPECT_EQ(a.window.log,
              (std::vector<std::string>{"hide", "width 4800", "hide", "show", "show"}));
    EXPECT_FLOAT_EQ((*a.label)["Left"], 100 * (4800. - 120) / (6000 - 120));

    a.window.DragTo(2000, 1000);
    EXPECT_EQ(a.window.outerWidth, 4800);
    EXPECT_EQ(a.window.outerHeight, 3000);
    EXPECT_TRUE(a.window.frameVisible);
}

TEST(AutoResizeParentResize, MinimisedHidesTheFaceAndRestoringLaysItOut) {
    Attached a;
    a.window.state = WindowState::Minimised;
    a.window.DragTo(3000, 2000);
    EXPECT_FALSE(a.window.frameVisible);
    EXPECT_TRUE(a.label->sets.empty());

    a.window.state = WindowState::Normal;
    a.window.DragTo(12000 - 120 * 1, 8000 - 690 * 1);
    EXPECT_TRUE(a.window.frameVisible);
    EXPECT_NE((*a.label)["Left"], 100);
}

TEST(AutoResizeParentResize, DisabledMovesNothingButShowsTheFaceAgain) {
    Attached a;
    a.resize.SetEnabled(false);
    a.window.DragTo(100, 100);
    EXPECT_TRUE(a.window.frameVisible);
    EXPECT_EQ(a.window.outerWidth, 100);
    EXPECT_TRUE(a.label->sets.empty());

    // No "displayPanel" on the window: the layout runs all the same.
    a.resize.SetEnabled(true);
    a.window.hasFrame = false;
    a.window.DragTo(12000, 8000);
    EXPECT_FALSE(a.label->sets.empty());
}

TEST(AutoResizeParentResize, HeightCorrectionArrivingLaterIsHandledInFull) {
    Attached a;
    PropertyBag keep;
    keep.WriteProperty("KeepAspectRatio", true);
    keep.WriteProperty("AspectRatioValue", 0.5);
    keep.WriteProperty("HMin", 500);
    keep.WriteProperty("WMin", 1000);
    a.resize.readProperties(keep);

    a.window.deferResizeEvents = true;
    a.window.DragTo(8000, 7000);
    a.window.DeliverPendingResizeEvents();  // the drag's event; asks for 4000
    EXPECT_EQ(a.window.outerHeight, 4000);
    EXPECT_FALSE(a.resize.AdjustingHeight());
    EXPECT_EQ(a.window.pendingResizeEvents, 1);
    a.window.DeliverPendingResizeEvents();  // the correction's own event
    EXPECT_EQ(a.handled, 2);
    EXPECT_EQ((*a.label)["Top"], 200);
    EXPECT_FLOAT_EQ((*a.label)["Width"], 300 * (8000. - 120) / (6000 - 120));
    EXPECT_TRUE(a.window.frameVisible);
}

TEST(AutoResizeParentResize, DesignModeAttachesNothingAndRecordsNothing) {
    Attached a(HostMode::Design);
    EXPECT_EQ(a.resize.ParentForm(), nullptr);
    EXPECT_EQ(a.resize.LayoutCount(), 0);
    a.resize.onParentResized();
    a.resize.ApplyLayout();
    EXPECT_TRUE(a.window.log.empty());

    // In run mode: nothing is recorded before StoreSettings, and resizing
    // then enforces the minimum only.
    FakeParent window(6000, 4000);
    FakeControl& label = window.Add("Label", {{"Left", 100}});
    AutoResize r(&window);
    r.readProperties(mainWindowProperties());
    window.onResize = [&] { r.onParentResized(); };
    window.DragTo(900, 4000);
    EXPECT_EQ(window.outerWidth, 1000);
    EXPECT_TRUE(label.sets.empty());
    r.StoreSettings();
    r.StoreSettings();
    EXPECT_EQ(r.LayoutCount(), 1);
}

}  // namespace
}  // namespace veltra
