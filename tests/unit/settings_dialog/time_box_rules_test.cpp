#include "settings_dialog/time_box_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace veltra::settings_dialog {
namespace {

TEST(TimeBoxKeys, OnlyDigitsAndBackspacePass) {
    for (char32_t c = U'0'; c <= U'9'; ++c) {
        EXPECT_TRUE(KeyPasses(c));
    }
    EXPECT_TRUE(KeyPasses(8));
    for (char32_t c : {U'a', U'-', U'+', U'.', U',', U' ', U'\r', U'\n', U'\t', U'\x1b', U'\x16',
                       U'\x7f', U'\0', U'\u0661' /* Arabic-Indic one */}) {
        EXPECT_FALSE(KeyPasses(c)) << static_cast<int>(c);
    }
}

TEST(TimeBoxEdits, ResultMustBeAtMostTwoDigits) {
    EXPECT_TRUE(EditAllowed("", "7"));
    EXPECT_TRUE(EditAllowed("1", "12"));
    EXPECT_TRUE(EditAllowed("12", ""));
    EXPECT_FALSE(EditAllowed("12", "123"));  // a third digit
    EXPECT_FALSE(EditAllowed("", "1a2"));    // pasted text with a letter
    EXPECT_FALSE(EditAllowed("", "-1"));
    EXPECT_FALSE(EditAllowed("5", "5 "));
}

TEST(TimeBoxEdits, StoredTextCanOnlyBeShortened) {
    EXPECT_TRUE(EditAllowed("150", "150"));
    EXPECT_TRUE(EditAllowed("150", "15"));
    EXPECT_TRUE(EditAllowed("150", "10"));
    EXPECT_TRUE(EditAllowed("abc", "ac"));
    EXPECT_TRUE(EditAllowed("abcd", "ad"));  // a selected stretch removed
    EXPECT_FALSE(EditAllowed("150", "1500"));
    EXPECT_FALSE(EditAllowed("abc", "abc5"));
    EXPECT_FALSE(EditAllowed("abc", "ax"));  // shorter, but not a removal
    EXPECT_FALSE(EditAllowed("150", "5a"));
}

TEST(TimeBoxSpinner, FollowsTheLeadingNumberWithinRange) {
    EXPECT_EQ(SpinnerValueFor(""), 0);
    EXPECT_EQ(SpinnerValueFor("abc"), 0);
    EXPECT_EQ(SpinnerValueFor("07"), 7);
    EXPECT_EQ(SpinnerValueFor("42"), 42);
    EXPECT_EQ(SpinnerValueFor("7x"), 7);
    EXPECT_EQ(SpinnerValueFor("2.5"), 2);  // halves to even
    EXPECT_EQ(SpinnerValueFor("3.5"), 4);
    EXPECT_EQ(SpinnerValueFor("150"), 99);
    EXPECT_EQ(SpinnerValueFor("99.5"), 99);
    EXPECT_EQ(SpinnerValueFor("1e30"), 99);
    EXPECT_EQ(SpinnerValueFor("-5"), 0);
}

TEST(TimeBoxSpinner, MovedByTheUserRewritesTheText) {
    EXPECT_EQ(TextAfterSpinnerMove("5", 6), "6");
    EXPECT_EQ(TextAfterSpinnerMove("", 1), "1");
    EXPECT_EQ(TextAfterSpinnerMove("150", 98), "98");
    EXPECT_EQ(TextAfterSpinnerMove("abc", 3), "3");
    EXPECT_EQ(SpinnerText(42), "42");
    EXPECT_EQ(SpinnerText(0), "0");
}

TEST(TimeBoxSpinner, FollowingTheTextRewritesOnlyWhatKeepsItsNumber) {
    EXPECT_EQ(TextAfterSpinnerMove("07", 7), "7");
    EXPECT_EQ(TextAfterSpinnerMove(" 7", 7), "7");
    EXPECT_EQ(TextAfterSpinnerMove("7", 7), std::nullopt);  // no echo
    EXPECT_EQ(TextAfterSpinnerMove("", 0), std::nullopt);   // a cleared box stays clear
    EXPECT_EQ(TextAfterSpinnerMove("150", 99), std::nullopt);
    EXPECT_EQ(TextAfterSpinnerMove("5.5", 6), std::nullopt);
    EXPECT_EQ(TextAfterSpinnerMove("-5", 0), std::nullopt);
}

TEST(TimeBoxFocusOut, OnlyNumbersAboveNinetyNineAreBounded) {
    EXPECT_EQ(TextOnFocusOut("150"), "99");
    EXPECT_EQ(TextOnFocusOut("99.5"), "99");
    EXPECT_EQ(TextOnFocusOut("100abc"), "99");
    EXPECT_EQ(TextOnFocusOut("99"), std::nullopt);
    EXPECT_EQ(TextOnFocusOut(""), std::nullopt);
    EXPECT_EQ(TextOnFocusOut("-5"), std::nullopt);
    EXPECT_EQ(TextOnFocusOut("abc"), std::nullopt);
}

// Numbers beyond a double: the huge ones are above the range, the tiny
// ones are 0, whatever way they are written.
TEST(TimeBoxRules, NumbersTooLargeForADoubleAreAboveTheRangeNotZero) {
    for (const std::string& huge :
         {std::string("1e400"), std::string(400, '9'), std::string("0.5e400"),
          std::string("12 e 999999999999999999999"), "000" + std::string(320, '7') + "x"}) {
        SCOPED_TRACE(huge.substr(0, 20));
        EXPECT_EQ(SpinnerValueFor(huge), 99);
        EXPECT_EQ(TextOnFocusOut(huge), "99");
    }
    for (const std::string& tiny :
         {std::string("1e-400"), std::string("-1e400"), "0." + std::string(400, '0') + "1"}) {
        SCOPED_TRACE(tiny.substr(0, 20));
        EXPECT_EQ(SpinnerValueFor(tiny), 0);
        EXPECT_EQ(TextOnFocusOut(tiny), std::nullopt);
    }
}

}  // namespace
}  // namespace veltra::settings_dialog
