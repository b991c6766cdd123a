#include "alerts/save_log.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "alerts/log_toggle.h"
#include "support/fakes.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;
using test::FakePrompt;
using test::FakeWindow;
using test::MemorySettingsStore;

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

class TempDir {
public:
    TempDir() {
        std::string templ = (fs::temp_directory_path() / "veltra-save-XXXXXX").string();
        path = mkdtemp(templ.data());
    }
    ~TempDir() { fs::remove_all(path); }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(path)) {
            out.push_back(e.path().filename().string());
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    fs::path path;
};

// Answers the Save As dialog from a script; nothing left means Cancel.
class ScriptedDialog : public SaveLogDialog {
public:
    std::optional<std::string> ChooseSavePath() override {
        ++shown;
        if (answers.empty()) {
            return std::nullopt;
        }
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<std::optional<std::string>> answers;
    int shown = 0;
};

class UndeletableLog : public DiskLogFiles {
public:
    FileError remove(const std::string&) override { return "Device or resource busy"; }
};

// The whole log, long enough to take several rounds of the copy loop.
std::string SomeLog() {
    std::string log;
    for (int i = 0; i < 5000; ++i) {
        log += "9:41:07 PM  Ka  ####----  Front  " + std::to_string(i) + "\r\n";
    }
    return log;
}

TEST(DiskLogFiles, CopyReplacesTheTargetWholeAndKeepsItsPermissions) {
    TempDir dir;
    const fs::path from = dir.path / "temp.log";
    const fs::path to = dir.path / "saved.txt";
    WriteFile(from, SomeLog());
    WriteFile(to, "older data");
    ::chmod(to.c_str(), 0640);

    DiskLogFiles files;
    EXPECT_EQ(files.copyReplacing(from, to), std::nullopt);
    EXPECT_EQ(ReadFile(to), SomeLog());
    EXPECT_EQ(ReadFile(from), SomeLog());
    EXPECT_EQ(fs::status(to).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"saved.txt", "temp.log"}));
}

TEST(DiskLogFiles, AFailedCopyLeavesNoPartialFileBehind) {
    TempDir dir;
    const fs::path from = dir.path / "temp.log";
    WriteFile(from, SomeLog());
    WriteFile(dir.path / "plain", "a regular file");
    DiskLogFiles files;

    // Below a regular file nothing can be created, even by root.
    auto error = files.copyReplacing(from, dir.path / "plain" / "saved.txt");
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Not a directory");

    // A directory in the way: the copy is written in full, then the rename
    // fails, and the temporary must go.
    fs::create_directory(dir.path / "saved.txt");
    EXPECT_TRUE(files.copyReplacing(from, dir.path / "saved.txt"));
    EXPECT_TRUE(fs::is_empty(dir.path / "saved.txt"));

    EXPECT_TRUE(files.copyReplacing(dir.path / "missing.log", dir.path / "other.txt"));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"plain", "saved.txt", "temp.log"}));
    EXPECT_EQ(ReadFile(from), SomeLog());
}

TEST(DiskLogFiles, RemovingAMissingFileIsNoFailureAndSameFileFollowsLinks) {
    TempDir dir;
    DiskLogFiles files;
    EXPECT_EQ(files.remove(dir.path / "gone.log"), std::nullopt);
    WriteFile(dir.path / "temp.log", "x");
    fs::create_hard_link(dir.path / "temp.log", dir.path / "other-name.txt");
    EXPECT_TRUE(files.sameFile(dir.path / "other-name.txt", dir.path / "temp.log"));
    EXPECT_TRUE(files.sameFile(dir.path / "." / "temp.log", dir.path / "temp.log"));
    WriteFile(dir.path / "b.txt", "x");
    EXPECT_FALSE(files.sameFile(dir.path / "b.txt", dir.path / "temp.log"));
}

class LogSaverTest : public ::testing::Test {
protected:
    LogSaverTest() { WriteFile(working, SomeLog()); }

    LogSaver saver(LogFiles& f) {
        return LogSaver(dialog, prompt, window, store, f, working.string());
    }
    std::string at(const char* name) const { return (dir.path / name).string(); }

    TempDir dir;
    fs::path working = dir.path / "temp.log";
    ScriptedDialog dialog;
    FakePrompt prompt;
    FakeWindow window;
    MemorySettingsStore store;
    DiskLogFiles files;
    std::string lastLogLine = "9:41:07 PM  Ka";
};

TEST_F(LogSaverTest, ASaveCopiesThenDeletesTheWorkingLogAndForgetsTheLoggedData) {
    store.set("OnTop", "1");
    dialog.answers = {at("saved.txt")};
    saver(files).SaveAlertData(lastLogLine);
    EXPECT_EQ(ReadFile(at("saved.txt")), SomeLog());
    EXPECT_FALSE(fs::exists(working));
    EXPECT_TRUE(lastLogLine.empty());
    EXPECT_TRUE(prompt.shown.empty());
    // The dialog is never hidden behind a topmost window.
    EXPECT_EQ(window.log, (std::vector<std::string>{"nottopmost", "topmost"}));
}

TEST_F(LogSaverTest, AnExistingFileIsReplacedOnlyWhenTheUserAgrees) {
    WriteFile(at("saved.txt"), "the user's own file");
    dialog.answers = {at("saved.txt")};
    prompt.answer = PromptAnswer::No;  // back to the dialog, which is then cancelled
    saver(files).SaveAlertData(lastLogLine);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Save As...");
    EXPECT_NE(prompt.shown[0].text.find(at("saved.txt")), std::string::npos);
    EXPECT_EQ(prompt.shown[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(dialog.shown, 2);
    EXPECT_EQ(ReadFile(at("saved.txt")), "the user's own file");
    EXPECT_EQ(ReadFile(working), SomeLog());
    EXPECT_FALSE(lastLogLine.empty());

    dialog.answers = {at("saved.txt")};
    prompt.answer = PromptAnswer::Yes;
    saver(files).SaveAlertData(lastLogLine);
    EXPECT_EQ(ReadFile(at("saved.txt")), SomeLog());
    EXPECT_FALSE(fs::exists(working));
    EXPECT_TRUE(lastLogLine.empty());
}

TEST_F(LogSaverTest, ACancelledSaveChangesNothingAndKeepsTheDataMarked) {
    saver(files).SaveAlertData(lastLogLine);
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_EQ(ReadFile(working), SomeLog());
    EXPECT_EQ(lastLogLine, "9:41:07 PM  Ka");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"temp.log"}));
}

TEST_F(LogSaverTest, AFailedCopyIsReportedAndTheWorkingLogStays) {
    WriteFile(at("plain"), "a regular file");
    const std::string target = at("plain") + "/saved.txt";
    dialog.answers = {target};
    saver(files).SaveAlertData(lastLogLine);
    ASSERT_EQ(prompt.shown.size(), 1u);
    const auto& box = prompt.shown[0];
    EXPECT_EQ(box.title, "Veltra Scope");
    EXPECT_EQ(box.icon, PromptIcon::Exclamation);
    EXPECT_EQ(box.buttons, PromptButtons::Ok);
    EXPECT_NE(box.text.find(target), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("Not a directory"), std::string::npos) << box.text;
    EXPECT_EQ(ReadFile(working), SomeLog());
    EXPECT_FALSE(lastLogLine.empty());
}

TEST_F(LogSaverTest, AFailedDeleteIsReportedAfterTheCopyIsInPlace) {
    UndeletableLog undeletable;
    dialog.answers = {at("saved.txt")};
    EXPECT_EQ(saver(undeletable).SaveLoggedData(), SaveResult::Saved);
    EXPECT_EQ(ReadFile(at("saved.txt")), SomeLog());
    EXPECT_EQ(ReadFile(working), SomeLog());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find(working.string()), std::string::npos);
    EXPECT_NE(prompt.shown[0].text.find("Device or resource busy"), std::string::npos);
}

TEST_F(LogSaverTest, TheWorkingLogCannotBeSavedOntoItself) {
    fs::create_hard_link(working, at("alias.txt"));
    dialog.answers = {working.string(), at("alias.txt")};  // then cancelled
    prompt.answer = PromptAnswer::Yes;
    EXPECT_EQ(saver(files).SaveLoggedData(), SaveResult::Cancelled);
    EXPECT_EQ(prompt.shown.size(), 2u);
    for (const auto& box : prompt.shown) {
        EXPECT_EQ(box.buttons, PromptButtons::Ok) << box.text;
    }
    EXPECT_EQ(ReadFile(working), SomeLog());
}

TEST_F(LogSaverTest, AMissingWorkingLogIsReportedNotSaved) {
    fs::remove(working);
    EXPECT_EQ(saver(files).SaveLoggedData(), SaveResult::Failed);
    EXPECT_EQ(dialog.shown, 0);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find(working.string()), std::string::npos);
}

TEST_F(LogSaverTest, TheExitQuestionComesOnlyWithLoggedData) {
    saver(files).AskToSaveOnExit("");
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(window.log.empty());
    EXPECT_TRUE(fs::exists(working));

    store.set("OnTop", "1");
    prompt.duringShow = [&] { window.log.push_back("question"); };
    prompt.answer = PromptAnswer::No;
    saver(files).AskToSaveOnExit(lastLogLine);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Veltra Scope");
    EXPECT_EQ(prompt.shown[0].text,
              "There is logged alert data present.\r\nWould you like to save your logged alert "
              "data?");
    EXPECT_EQ(prompt.shown[0].icon, PromptIcon::Question);
    EXPECT_EQ(prompt.shown[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(window.log, (std::vector<std::string>{"nottopmost", "question", "topmost"}));
    EXPECT_FALSE(fs::exists(working));
}

TEST_F(LogSaverTest, AQuestionClosedWithoutAnAnswerKeepsTheWorkingLog) {
    prompt.answer = PromptAnswer::Dismissed;
    saver(files).AskToSaveOnExit(lastLogLine);
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(dialog.shown, 0);
    EXPECT_EQ(ReadFile(working), SomeLog());
}

TEST_F(LogSaverTest, AnsweringYesAtExitSavesUnlessTheDialogIsCancelled) {
    prompt.answer = PromptAnswer::Yes;
    saver(files).AskToSaveOnExit(lastLogLine);
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_EQ(ReadFile(working), SomeLog());

    dialog.answers = {at("kept.txt")};
    saver(files).AskToSaveOnExit(lastLogLine);
    EXPECT_EQ(ReadFile(at("kept.txt")), SomeLog());
    EXPECT_FALSE(fs::exists(working));
}

// Ended from outside while a box is up: the event loops end and the box
// comes back as "No", but nobody answered it.
TEST_F(LogSaverTest, AnEndFromOutsideDuringTheExitQuestionNeitherSavesNorDeletes) {
    LogSaver s = saver(files);
    prompt.answer = PromptAnswer::No;
    prompt.duringShow = [&] { s.Abandon(); };
    s.AskToSaveOnExit(lastLogLine);
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(dialog.shown, 0);
    EXPECT_EQ(ReadFile(working), SomeLog());

    // Yes was answered; the replace question is up when the end comes. The
    // dialog is not shown again and the user's file stays as it was.
    LogSaver t = saver(files);
    WriteFile(at("saved.txt"), "the user's own file");
    dialog.answers = {at("saved.txt"), at("other.txt")};
    prompt.shown.clear();
    prompt.answer = PromptAnswer::Yes;
    prompt.duringShow = [&] {
        if (prompt.shown.size() == 2) {
            t.Abandon();
            prompt.answer = PromptAnswer::No;
        }
    };
    t.AskToSaveOnExit(lastLogLine);
    EXPECT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_EQ(ReadFile(at("saved.txt")), "the user's own file");
    EXPECT_FALSE(fs::exists(at("other.txt")));
    EXPECT_EQ(ReadFile(working), SomeLog());
}

TEST(LogToggle, FlipsAndRemembersTheSwitchAsAWord) {
    MemorySettingsStore store;
    EXPECT_TRUE(ToggleLogging(store, false));
    EXPECT_EQ(store.get("LogData"), "True");
    EXPECT_FALSE(ToggleLogging(store, true));
    EXPECT_EQ(store.get("LogData"), "False");
}

}  // namespace
}  // namespace veltra
