#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "shell/display_choice.h"

namespace veltra {
namespace {

using Args = std::vector<std::string_view>;

TEST(CommandLine, HelpAndVersionAnswerWhicheverComesFirstAndDashDashEndsOptions) {
    EXPECT_EQ(ParseCommandLine(Args{}), CommandLineAction::Run);
    EXPECT_EQ(ParseCommandLine(Args{"--help"}), CommandLineAction::ShowHelp);
    EXPECT_EQ(ParseCommandLine(Args{"-h"}), CommandLineAction::ShowHelp);
    EXPECT_EQ(ParseCommandLine(Args{"--version"}), CommandLineAction::ShowVersion);
    EXPECT_EQ(ParseCommandLine(Args{"--version", "--help"}), CommandLineAction::ShowVersion);
    EXPECT_EQ(ParseCommandLine(Args{"-platform", "offscreen", "--help"}),
              CommandLineAction::ShowHelp);
    EXPECT_EQ(ParseCommandLine(Args{"--", "--help"}), CommandLineAction::Run);
    // Qt's options and their values are not ours to judge.
    EXPECT_EQ(ParseCommandLine(Args{"-style", "fusion"}), CommandLineAction::Run);
}

TEST(CommandLine, HelpTextListsEveryOptionTheProgramTakes) {
    const std::string help = ProgramHelpText();
    EXPECT_TRUE(help.starts_with("Usage: veltrascope [OPTION]... [RECORDING]\n"));
    EXPECT_NE(help.find("-h, --help"), std::string::npos);
    EXPECT_NE(help.find("--version"), std::string::npos);
}

DisplaySetting Read(Args args, const char* platform, const char* display,
                    const char* wayland = nullptr, const char* session = nullptr) {
    return ReadDisplaySetting(args, platform, display, wayland, session);
}

TEST(DisplayChoice, AnXServerIsCheckedOnlyWhenQtWillUseX11) {
    // Nothing chosen, no Wayland: Qt goes for X11, with or without DISPLAY.
    EXPECT_TRUE(NeedsX11(Read({}, nullptr, ":0")));
    EXPECT_TRUE(NeedsX11(Read({}, nullptr, nullptr)));
    EXPECT_TRUE(NeedsX11(Read({}, "", nullptr)));  // set but empty: no choice
    EXPECT_TRUE(NeedsX11(Read({}, "xcb", nullptr)));
    EXPECT_TRUE(NeedsX11(Read({}, "xcb;wayland", nullptr)));

    // Platforms that need no X server, and Wayland sessions, are Qt's.
    EXPECT_FALSE(NeedsX11(Read({}, "offscreen", nullptr)));
    EXPECT_FALSE(NeedsX11(Read({}, "wayland;xcb", nullptr)));
    EXPECT_FALSE(NeedsX11(Read({}, nullptr, nullptr, "wayland-0")));
    EXPECT_FALSE(NeedsX11(Read({}, nullptr, nullptr, nullptr, "wayland")));
    EXPECT_TRUE(NeedsX11(Read({}, nullptr, nullptr, "", "x11")));

    // The command line outranks the environment, in either spelling.
    EXPECT_FALSE(NeedsX11(Read({"-platform", "offscreen"}, "xcb", nullptr)));
    EXPECT_TRUE(NeedsX11(Read({"--platform", "xcb"}, "offscreen", nullptr, "wayland-0")));
}

TEST(DisplayChoice, TheDisplayNameComesFromTheCommandLineElseDisplay) {
    EXPECT_EQ(Read({}, nullptr, ":3").x11Display, ":3");
    EXPECT_EQ(Read({}, nullptr, "").x11Display, std::nullopt);
    EXPECT_EQ(Read({"-display", ":7"}, nullptr, ":3").x11Display, ":7");
    // An option without its value is no choice.
    EXPECT_EQ(Read({"-display"}, nullptr, ":3").x11Display, ":3");
}

}  // namespace
}  // namespace veltra
