#include "settings_dialog/settings_form.h"

#include <gtest/gtest.h>

#include "shell/settings.h"
#include "support/fakes.h"

namespace veltra::settings_dialog {
namespace {

using test::MemorySettingsStore;

TEST(SettingsFormLoad, EmptyStoreShowsTheDefaults) {
    MemorySettingsStore s;
    SettingsForm f = LoadSettingsForm(s);
    EXPECT_EQ(f.autoHide, kChecked);
    EXPECT_EQ(f.autoHideTime, "5");
    // Shown checked, as the alert logic treats an absent key: a plain OK
    // must not turn auto-mute off.
    EXPECT_EQ(f.autoMute, kChecked);
    EXPECT_TRUE(settings::ReadBool(s, "AutoMute", settings::Use::BeginAlert));
    EXPECT_EQ(f.autoMuteTime, "5");
    EXPECT_EQ(f.onTop, kUnchecked);
    EXPECT_EQ(f.autoConnect, kChecked);
    EXPECT_EQ(f.autoMinimize, kUnchecked);
    EXPECT_EQ(f.hideTitlebar, kUnchecked);
    EXPECT_EQ(f.hideMute, kUnchecked);
    EXPECT_EQ(f.keepAspectRatio, kChecked);
}

TEST(SettingsFormLoad, StoredValuesAreShownAsTheyAre) {
    MemorySettingsStore s;
    s.set("AutoHide", "0");
    s.set("AutoHideTime", "150");
    s.set("AutoMute", "2");
    s.set("AutoMuteTime", "");
    s.set("OnTop", " 1 ");
    s.set("KeepAspectRatio", "0.4");  // whole-number rule: rounds to 0
    SettingsForm f = LoadSettingsForm(s);
    EXPECT_EQ(f.autoHide, kUnchecked);
    EXPECT_EQ(f.autoHideTime, "150");
    EXPECT_EQ(f.autoMute, kGreyed);
    EXPECT_EQ(f.autoMuteTime, "");
    EXPECT_EQ(f.onTop, kChecked);
    EXPECT_EQ(f.keepAspectRatio, kUnchecked);
}

// A text that is no check-box state shows what the program does with it,
// which differs between options read as "equals 1" and as a truth value.
TEST(SettingsFormLoad, OddCheckValuesShowTheirEffect) {
    MemorySettingsStore s;
    s.set("OnTop", "-1");            // equals 1: off
    s.set("KeepAspectRatio", "-1");  // truth: on
    s.set("AutoMinimize", "True");   // truth: on
    s.set("HideMute", "false");      // truth: off
    s.set("AutoHide", "7");          // equals 1: off
    s.set("AutoConnect", "yes");     // unconvertible: the start-up default, on
    s.set("AutoMute", "junk");       // unconvertible: the alert default, on
    EXPECT_EQ(CheckStateFor(s, "OnTop"), kUnchecked);
    EXPECT_EQ(CheckStateFor(s, "KeepAspectRatio"), kChecked);
    EXPECT_EQ(CheckStateFor(s, "AutoMinimize"), kChecked);
    EXPECT_EQ(CheckStateFor(s, "HideMute"), kUnchecked);
    EXPECT_EQ(CheckStateFor(s, "AutoHide"), kUnchecked);
    EXPECT_EQ(CheckStateFor(s, "AutoConnect"), kChecked);
    EXPECT_EQ(CheckStateFor(s, "AutoMute"), kChecked);
    EXPECT_THROW(CheckStateFor(s, "AutoHideTime"), std::logic_error);
}

TEST(SettingsFormSave, WritesTheTenKeysInOrderAndReadsBackTheSame) {
    MemorySettingsStore s;
    SettingsForm f;
    f.autoHide = kChecked;
    f.autoHideTime = "";
    f.autoMute = kGreyed;
    f.autoMuteTime = "42";
    f.onTop = kChecked;
    f.autoMinimize = kChecked;
    SaveSettingsForm(s, f);
    EXPECT_EQ(s.writes,
              (std::vector<std::string>{"AutoHide", "AutoHideTime", "AutoMute", "AutoMuteTime",
                                        "OnTop", "AutoConnect", "AutoMinimize", "HideTitlebar",
                                        "HideMute", "KeepAspectRatio"}));
    EXPECT_EQ(s.get("AutoHide"), "1");
    EXPECT_EQ(s.get("AutoHideTime"), "");
    EXPECT_EQ(s.get("AutoMute"), "2");
    EXPECT_EQ(s.get("AutoMuteTime"), "42");
    EXPECT_EQ(s.get("AutoConnect"), "0");
    EXPECT_EQ(LoadSettingsForm(s), f);
}

}  // namespace
}  // namespace veltra::settings_dialog
