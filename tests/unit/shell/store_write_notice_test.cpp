#include "shell/store_write_notice.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace veltra {
namespace {

TEST(StoreWriteNotice, TellsTheFirstFailureOnlyEvenFromInsideItsOwnBox) {
    test::FakePrompt prompt;
    StoreWriteNotice notice(prompt);
    // A write failing again while the first box is up (its nested loop runs
    // other events) must not stack a second box.
    prompt.duringShow = [&] { notice.onWriteFailed("second"); };
    notice.onWriteFailed("cannot save to /x/Veltrascope.ini");
    notice.onWriteFailed("third");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Veltra Scope");
    EXPECT_EQ(prompt.shown[0].text, "cannot save to /x/Veltrascope.ini");
    EXPECT_EQ(prompt.shown[0].icon, PromptIcon::Exclamation);
}

TEST(StoreWriteNotice, StaysSilentWhileEndingOnASignal) {
    test::FakePrompt prompt;
    StoreWriteNotice notice(prompt);
    notice.setQuiet(true);
    notice.onWriteFailed("geometry not kept");
    EXPECT_TRUE(prompt.shown.empty());
}

}  // namespace
}  // namespace veltra
