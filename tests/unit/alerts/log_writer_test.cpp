#include "alerts/log_writer.h"

#include "alerts/file_log_sink.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "link/frame_encoder.h"
#include "support/fakes.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

DisplayState Showing(char c) {
    DisplayState s;
    s.Segment = SegmentsFor(c).value();
    return s;
}

TEST(LogContent, BuildsTheFourFieldsInTheirWidths) {
    DisplayState s = Showing('3');
    s.Band[kX] = true;
    for (int d : {0, 1, 2, 3, 4}) {
        s.Signal[d] = true;
    }
    s.FrontArrow = true;
    EXPECT_EQ(LogContent(s), "X " + std::string(7, ' ') + "3 " + "*****" + std::string(4, ' ') +
                                 " /\\" + std::string(6, ' '));
    EXPECT_EQ(LogContent(DisplayState{}), std::string(29, ' '));

    DisplayState all;
    all.Band.fill(true);
    all.Signal[2] = all.Signal[5] = true;  // counted, not placed
    all.SideArrow = all.RearArrow = true;
    EXPECT_EQ(LogContent(all), "X K Ka L   **       " + std::string(3, ' ') + " == \\/");

    DisplayState one;
    one.Band[kKa] = true;
    one.Signal.fill(true);
    EXPECT_EQ(LogContent(one), "    Ka     ******** " + std::string(9, ' '));
}

TEST(LogContent, ReadsTheDigitFromItsSegments) {
    for (char c : std::string("123456789")) {
        const std::string line = LogContent(Showing(c));
        ASSERT_EQ(line.size(), 29u);
        EXPECT_EQ(line.substr(9, 2), std::string(1, c) + " ") << c;
    }
    // 7 is the top and both right segments; 1 only the right ones.
    DisplayState seven;
    seven.Segment[1] = seven.Segment[6] = seven.Segment[7] = true;
    EXPECT_EQ(LogContent(seven).substr(9, 2), "7 ");
    seven.Segment[1] = false;
    EXPECT_EQ(LogContent(seven).substr(9, 2), "1 ");
    // No set reads as 0, and sets outside the table read as nothing.
    DisplayState zero;
    for (int seg : {1, 3, 4, 5, 6, 7}) {
        zero.Segment[seg] = true;
    }
    EXPECT_EQ(LogContent(zero).substr(9, 2), "  ");
    DisplayState top;
    top.Segment[1] = true;
    EXPECT_EQ(LogContent(top).substr(9, 2), "  ");
}

TEST(LogContent, AModeLetterGivesOnlyTheModeName) {
    for (auto [c, name] :
         {std::pair{'A', "All Bogies Mode"}, {'l', "Logic Mode"}, {'L', "Advanced Logic Mode"}}) {
        DisplayState s = Showing(c);
        s.Band.fill(true);
        s.Signal[0] = s.Signal[1] = true;
        s.FrontArrow = true;
        EXPECT_EQ(LogContent(s), name);
    }
}

class FakeSink : public LogSink {
public:
    std::optional<std::string> AppendLine(std::string_view line) override {
        lines.emplace_back(line);
        return failWith;
    }
    std::string Name() const override { return "/some/dir/temp.log"; }
    std::vector<std::string> lines;
    std::optional<std::string> failWith;
};

class LogWriterTest : public ::testing::Test {
protected:
    FakeSink sink;
    test::FakeTimeOfDay clock;
    test::FakePrompt prompt;
    LogWriter writer{sink, clock, prompt};
};

TEST_F(LogWriterTest, WritesALineOnlyWhenTheContentChanges) {
    const DisplayState a = Showing('4');
    const DisplayState b = Showing('5');
    writer.LogData(a);
    clock.text = "9:41:08 PM";
    writer.LogData(a);
    writer.LogData(a);
    EXPECT_EQ(sink.lines, std::vector<std::string>{"9:41:07 PM - " + LogContent(a)});
    writer.LogData(b);
    writer.LogData(a);
    EXPECT_EQ(sink.lines.size(), 3u);
    EXPECT_EQ(sink.lines[2], "9:41:08 PM - " + LogContent(a));
    EXPECT_EQ(writer.LastLogLine, LogContent(a));
    // Once the log has been saved, the same display is written again.
    writer.LastLogLine.clear();
    writer.LogData(a);
    EXPECT_EQ(sink.lines.size(), 4u);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(LogWriterTest, AFailedLineIsLostAndToldOnceUntilAWriteSucceeds) {
    sink.failWith = "Read-only file system";
    int nested = 0;
    prompt.duringShow = [&] {
        // More frames arrive while the box is up.
        writer.LogData(Showing(static_cast<char>('1' + nested++)));
    };
    writer.LogData(Showing('8'));
    writer.LogData(Showing('9'));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Veltra Scope");
    EXPECT_EQ(prompt.shown[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompt.shown[0].buttons, PromptButtons::Ok);
    EXPECT_NE(prompt.shown[0].text.find("/some/dir/temp.log"), std::string::npos);
    EXPECT_NE(prompt.shown[0].text.find("Read-only file system"), std::string::npos);
    EXPECT_NE(prompt.shown[0].text.find("lost"), std::string::npos);
    // Lost, not retried: the content still counts as composed.
    EXPECT_EQ(writer.LastLogLine, LogContent(Showing('9')));
    EXPECT_EQ(sink.lines.size(), 3u);

    sink.failWith.reset();
    writer.LogData(Showing('2'));
    sink.failWith = "No space left on device";
    writer.LogData(Showing('3'));
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_NE(prompt.shown[1].text.find("No space left on device"), std::string::npos);
}

class FileLogSinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("veltra-log-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path dir;
};

TEST_F(FileLogSinkTest, AppendsCrLfLinesToWhatIsAlreadyThere) {
    const fs::path log = dir / "temp.log";
    std::ofstream(log, std::ios::binary) << "9:00:00 AM - Logic Mode\r\n";
    FileLogSink sink(log.string());
    test::FakeTimeOfDay clock;
    test::FakePrompt prompt;
    LogWriter writer(sink, clock, prompt);
    writer.LogData(Showing('A'));
    writer.LogData(DisplayState{});
    EXPECT_EQ(Read(log),
              "9:00:00 AM - Logic Mode\r\n9:41:07 PM - All Bogies Mode\r\n9:41:07 PM - " +
                  std::string(29, ' ') + "\r\n");

    const fs::path fresh = dir / "new.log";
    FileLogSink(fresh.string()).AppendLine("x");
    EXPECT_EQ(Read(fresh), "x\r\n");
}

TEST_F(FileLogSinkTest, ReportsWhyALineCouldNotBeWritten) {
    // Below a regular file nothing can be created, even as root.
    std::ofstream(dir / "file") << "x";
    FileLogSink sink((dir / "file" / "temp.log").string());
    const auto failure = sink.AppendLine("line");
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(*failure, std::strerror(ENOTDIR));

    if (fs::exists("/dev/full")) {
        const auto full = FileLogSink("/dev/full").AppendLine("line");
        ASSERT_TRUE(full.has_value());
        EXPECT_EQ(*full, std::strerror(ENOSPC));
    }
}

TEST_F(FileLogSinkTest, EachLineGoesWhereThePathPointsWhenItIsWritten) {
    // The file is held open between lines; whatever happens to it in
    // between, each line must still land where a fresh open would put it.
    const fs::path log = dir / "temp.log";
    FileLogSink sink(log.string());
    ASSERT_FALSE(sink.AppendLine("one"));
    // The test folder is on a local file system, where the file is held.
    EXPECT_TRUE(sink.HoldsFileOpen());
    ASSERT_FALSE(sink.AppendLine("two"));
    EXPECT_EQ(Read(log), "one\r\ntwo\r\n");

    fs::remove(log);
    ASSERT_FALSE(sink.AppendLine("three"));
    EXPECT_EQ(Read(log), "three\r\n");

    // Moved away, as another program saving it would.
    fs::rename(log, dir / "saved.log");
    ASSERT_FALSE(sink.AppendLine("four"));
    EXPECT_EQ(Read(dir / "saved.log"), "three\r\n");
    EXPECT_EQ(Read(log), "four\r\n");

    // Another file moved over it.
    std::ofstream(dir / "other", std::ios::binary) << "other\r\n";
    fs::rename(dir / "other", log);
    ASSERT_FALSE(sink.AppendLine("five"));
    EXPECT_EQ(Read(log), "other\r\nfive\r\n");

    // A folder in its place: the line fails and says why, and the next one
    // after the folder has gone starts the file again.
    fs::remove(log);
    fs::create_directory(log);
    const auto failure = sink.AppendLine("six");
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(*failure, std::strerror(EISDIR));
    fs::remove(log);
    ASSERT_FALSE(sink.AppendLine("seven"));
    EXPECT_EQ(Read(log), "seven\r\n");
    EXPECT_TRUE(sink.HoldsFileOpen());
}

TEST_F(FileLogSinkTest, ADiskThatFillsMidLineLeavesOnlyWholeLines) {
    // A file size limit stands in for a full disk: the kernel takes the part
    // of a write that fits and refuses the rest. Set in a child process, as
    // the limit is the whole process's.
    const fs::path log = dir / "temp.log";
    const std::string line(38, 'x');  // 40 bytes with its line end
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        FileLogSink sink(log.string());
        int written = 0;
        std::optional<std::string> failure;
        while (!(failure = sink.AppendLine(line)) && written < 10) {
            ++written;
        }
        const bool toldWhy = failure && *failure == std::strerror(EFBIG);
        ::_exit(written == 2 && toldWhy ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Read(log), line + "\r\n" + line + "\r\n");
}

}  // namespace
}  // namespace veltra
