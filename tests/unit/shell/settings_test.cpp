#include "shell/settings.h"

#include <gtest/gtest.h>

#include <set>

#include "shell/modal_guard.h"
#include "support/fakes.h"

namespace veltra::settings {
namespace {

using test::MemorySettingsStore;

TEST(SettingsTable, ListsSixteenKeysAndEveryReaderNamesOne) {
    ASSERT_EQ(Keys().size(), 16u);
    std::set<std::string_view> keys(Keys().begin(), Keys().end());
    EXPECT_EQ(keys.size(), 16u);
    for (const Reader& r : Readers()) {
        EXPECT_TRUE(keys.count(r.key)) << r.key;
    }
    EXPECT_THROW(ReaderFor("AutoMute", Use::PortDialog), std::logic_error);
}

TEST(SettingsReaders, EmptyStoreGivesEachReadersDefault) {
    MemorySettingsStore s;
    EXPECT_EQ(ReadInt(s, "CommPort", Use::InitPort), 1);
    EXPECT_EQ(ReadText(s, "CommPort", Use::PortDialog), "1");
    EXPECT_FALSE(ReadBool(s, "LogData", Use::Start));
    EXPECT_TRUE(ReadBool(s, "AutoConnect", Use::Start));
    EXPECT_FALSE(ReadBool(s, "OnTop", Use::ModalGuard));
    EXPECT_TRUE(ReadBool(s, "KeepAspectRatio", Use::LoadSettings));
    EXPECT_TRUE(ReadBool(s, "AutoMute", Use::BeginAlert));
    EXPECT_EQ(ReadInt(s, "AutoMute", Use::SettingsDialog), 1);
    EXPECT_TRUE(ReadBool(s, "AutoMuteTime", Use::BeginAlert));
    EXPECT_EQ(ReadInt(s, "AutoHideTime", Use::TimerTick), 5);
    EXPECT_EQ(ReadText(s, "AutoHideTime", Use::SettingsDialog), "5");
    EXPECT_FLOAT_EQ(ReadSingle(s, "Width", 9135.f), 9135.f);
}

TEST(SettingsReaders, EqualsOneIsOnOnlyForTheNumberOne) {
    MemorySettingsStore s;
    for (auto [text, on] : {std::pair{"1", true},
                            {" 1 ", true},
                            {"1.0", true},
                            {"0", false},
                            {"2", false},
                            {"-1", false}}) {
        s.set("OnTop", text);
        EXPECT_EQ(ReadBool(s, "OnTop", Use::Start), on) << text;
    }
    s.set("AutoConnect", "yes");  // unconvertible: the reader's default "1"
    EXPECT_TRUE(ReadBool(s, "AutoConnect", Use::Start));
}

TEST(SettingsReaders, TruthTakesWordsInAnyCaseAndNumbers) {
    MemorySettingsStore s;
    for (auto [text, on] : {std::pair{"True", true},
                            {"false", false},
                            {"TRUE", true},
                            {"-1", true},
                            {"0", false},
                            {"2.5", true}}) {
        s.set("LogData", text);
        EXPECT_EQ(ReadBool(s, "LogData", Use::Start), on) << text;
    }
    s.set("KeepAspectRatio", "maybe");
    EXPECT_TRUE(ReadBool(s, "KeepAspectRatio", Use::Start));
}

TEST(SettingsReaders, WholeRoundsHalvesToEvenAndRejectsOverflow) {
    MemorySettingsStore s;
    for (auto [text, n] : {std::pair{"2.5", 2},
                           {"3.5", 4},
                           {"-2.5", -2},
                           {"10", 10},
                           {"32767", 32767},
                           {"32768", 1},
                           {"abc", 1},
                           {"", 1}}) {
        s.set("CommPort", text);
        EXPECT_EQ(ReadInt(s, "CommPort", Use::InitPort), n) << text;
    }
}

TEST(SettingsReaders, LeadingNumberTakesThePrefixAndTimesOtherwiseCountAsZero) {
    MemorySettingsStore s;
    for (auto [text, n] : {std::pair{"7", 7},
                           {"12abc", 12},
                           {" 4 2", 42},
                           {"", 0},
                           {"x9", 0},
                           {"2.5", 2},
                           {"1e1", 10},
                           {"99999", 5}}) {
        s.set("AutoMuteTime", text);
        EXPECT_EQ(ReadInt(s, "AutoMuteTime", Use::TimerTick), n) << text;
    }
    for (auto [text, on] :
         {std::pair{"0", false}, {"", false}, {"abc", false}, {"5", true}, {"0.4", true}}) {
        s.set("AutoHideTime", text);
        EXPECT_EQ(ReadBool(s, "AutoHideTime", Use::EndAlert), on) << text;
    }
}

TEST(SettingsWriters, WriteTheStoredFormsThatReadBackTheSame) {
    MemorySettingsStore s;
    WriteBooleanWord(s, "LogData", true);
    EXPECT_EQ(s.get("LogData"), "True");
    WriteDigit(s, "OnTop", 1);
    EXPECT_EQ(s.get("OnTop"), "1");
    WriteNumber(s, "Width", 9135.f);
    EXPECT_EQ(s.get("Width"), "9135");
    WriteNumber(s, "Left", -1234.5f);
    EXPECT_FLOAT_EQ(ReadSingle(s, "Left", 0.f), -1234.5f);
    s.set("Top", "12px");
    EXPECT_FLOAT_EQ(ReadSingle(s, "Top", 77.f), 77.f);
}

TEST(ModalGuardRule, LeavesTheBandAndReentersOnlyWhenOnTopIsStored) {
    MemorySettingsStore s;
    test::FakeWindow w;
    w.topMost = true;
    int shown = ModalGuard(w, s, [&] {
        EXPECT_FALSE(w.topMost);
        return 7;
    });
    EXPECT_EQ(shown, 7);
    EXPECT_FALSE(w.topMost);  // "OnTop" absent: stays out, whatever it was before
    s.set("OnTop", "1");
    ModalGuard(w, s, [&] { EXPECT_FALSE(w.topMost); });
    EXPECT_TRUE(w.topMost);
}

}  // namespace
}  // namespace veltra::settings
