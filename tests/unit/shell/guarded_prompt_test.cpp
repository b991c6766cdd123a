#include "shell/guarded_prompt.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace veltra {
namespace {

struct Case {
    std::optional<std::string> onTop;
    bool topMostAfter;
};

class GuardedPromptTest : public ::testing::TestWithParam<Case> {};

TEST_P(GuardedPromptTest, LeavesTheBandForTheBoxAndReturnsAsTheStoredOptionSays) {
    test::FakeWindow window;
    test::MemorySettingsStore store;
    test::FakePrompt inner;
    if (GetParam().onTop) {
        store.set("OnTop", *GetParam().onTop);
    }
    window.SetTopMost();  // the state before the box never decides
    window.log.clear();
    bool topMostWhileShown = true;
    inner.duringShow = [&] { topMostWhileShown = window.topMost; };
    inner.answer = PromptAnswer::No;

    GuardedPrompt prompt(inner, window, store);
    EXPECT_EQ(prompt.show("Veltra Scope", "Save?", PromptIcon::Question, PromptButtons::YesNo),
              PromptAnswer::No);

    ASSERT_EQ(inner.shown.size(), 1u);
    EXPECT_EQ(inner.shown[0].text, "Save?");
    EXPECT_FALSE(topMostWhileShown);
    EXPECT_EQ(window.topMost, GetParam().topMostAfter);
    EXPECT_EQ(window.log.front(), "nottopmost");
}

INSTANTIATE_TEST_SUITE_P(OnTop, GuardedPromptTest,
                         ::testing::Values(Case{"1", true}, Case{"0", false},
                                           Case{std::nullopt, false}, Case{"2", false},
                                           Case{"yes", false}));

}  // namespace
}  // namespace veltra
