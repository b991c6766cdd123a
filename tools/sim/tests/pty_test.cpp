// The simulator's own pseudo-terminal, its pacing, and how it stops.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "sim_process.h"

namespace veltra::sim::test {
namespace {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "simtest.XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Opens the device the simulator printed, as the program would.
int OpenDevice(SimProcess& sim) {
    const auto device = sim.FirstLine();
    if (!device || device->rfind("/dev/", 0) != 0) {
        ADD_FAILURE() << "no device path on the first line";
        return -1;
    }
    const int fd = open(device->c_str(), O_RDONLY | O_NOCTTY);
    EXPECT_GE(fd, 0) << *device;
    return fd;
}

// The bytes the same command line gives without pacing, written to a file.
std::string Reference(const TempDir& dir, std::vector<std::string> args) {
    const std::string path = dir / "reference.bin";
    args.insert(args.end(), {"--fast", "--out", path});
    EXPECT_EQ(RunSim(args), 0);
    return FileContents(path);
}

TEST(SimPty, ReaderGetsTheWholeStreamAtLineRate) {
    TempDir dir;
    const std::vector<std::string> args = {"--scenario", "bands", "--seed", "3", "--seconds", "2"};
    const std::string expected = Reference(dir, args);
    ASSERT_EQ(expected.size(), 1440u);  // two seconds at 720 bytes/s
    for (std::size_t i = 0; i < expected.size(); i += 25) {
        ASSERT_EQ(static_cast<unsigned char>(expected[i]), 0xFE) << "frame at " << i;
    }

    SimProcess sim(args);
    const int fd = OpenDevice(sim);
    ASSERT_GE(fd, 0);
    const auto opened = Clock::now();
    const std::string got = ReadAll(fd);
    const auto took = Clock::now() - opened;
    close(fd);

    // Every byte arrives, the last ones included: the end of the stream waits
    // for the reader before the master closes.
    EXPECT_EQ(got, expected);
    // Pacing by deadline can never run ahead of the line; only a lower bound
    // is safe to check on a busy machine.
    EXPECT_GE(took, 1900ms);
    EXPECT_EQ(sim.Wait(), 0);
}

TEST(SimPty, SlowReaderLosesNothing) {
    TempDir dir;
    // 43 kB: far more than a pty holds, so the simulator has to wait for room.
    const std::vector<std::string> args = {"--scenario", "mixed", "--seconds", "60", "--fast"};
    const std::string expected = Reference(dir, args);

    SimProcess sim(args);
    const int fd = OpenDevice(sim);
    ASSERT_GE(fd, 0);
    // Fall behind first: let the device's input queue fill up.
    const auto deadline = Clock::now() + 10s;
    int queued = 0;
    while (ioctl(fd, FIONREAD, &queued) == 0 && queued < 4000 && Clock::now() < deadline) {
        poll(nullptr, 0, 5);
    }
    EXPECT_GE(queued, 4000);
    const std::string got = ReadAll(fd);
    close(fd);
    EXPECT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected);
    EXPECT_EQ(sim.Wait(), 0);
}

class SimStops : public ::testing::TestWithParam<int> {};

TEST_P(SimStops, SignalEndsAStreamCleanly) {
    SimProcess sim({"--loop"});
    const int fd = OpenDevice(sim);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ReadSome(fd, 100).size(), 100u);
    sim.Signal(GetParam());
    EXPECT_EQ(sim.Wait(), 0);
    EXPECT_NE(sim.Stderr().find(std::string("stopped by SIG") + sigabbrev_np(GetParam())),
              std::string::npos)
        << sim.Stderr();
    close(fd);
}

TEST_P(SimStops, SignalEndsTheWaitForAReader) {
    SimProcess sim({});
    ASSERT_TRUE(sim.FirstLine());
    sim.Signal(GetParam());
    EXPECT_EQ(sim.Wait(), 0);
}

INSTANTIATE_TEST_SUITE_P(IntAndTerm, SimStops, ::testing::Values(SIGINT, SIGTERM),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

TEST(SimPty, ReaderClosingEndsTheStream) {
    SimProcess sim({"--loop"});
    const int fd = OpenDevice(sim);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ReadSome(fd, 50).size(), 50u);
    close(fd);
    EXPECT_EQ(sim.Wait(), 0);
    EXPECT_NE(sim.Stderr().find("the reader closed /dev/"), std::string::npos) << sim.Stderr();
}

// Frames in what a reader got: it may join in the middle of one, so the count
// starts at the first sync byte and takes whole frames from there.
std::size_t WholeFrames(const std::string& bytes) {
    const auto first = bytes.find('\xFE');
    std::size_t frames = 0;
    for (auto at = first; at != std::string::npos && at + 25 <= bytes.size(); at += 25) {
        if (static_cast<unsigned char>(bytes[at]) != 0xFE) {
            break;
        }
        ++frames;
    }
    return frames;
}

// A program that disconnects and connects again finds the detector still
// there: each new reader gets frames, and the simulator ends only when told.
TEST(SimPty, KeepOpenServesEachNewReader) {
    SimProcess sim({"--loop", "--keep-open"});
    const auto device = sim.FirstLine();
    ASSERT_TRUE(device);
    for (int reader = 0; reader < 3; ++reader) {
        const int fd = open(device->c_str(), O_RDONLY | O_NOCTTY);
        ASSERT_GE(fd, 0) << "reader " << reader << " cannot open " << *device;
        const std::string got = ReadSome(fd, 260);
        close(fd);
        EXPECT_GE(WholeFrames(got), 9u) << "reader " << reader;
    }
    // Still waiting for a fourth reader: it ends on a signal, not on its own.
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(), 0);
    const std::string err = sim.Stderr();
    EXPECT_NE(err.find("waiting for the next reader"), std::string::npos) << err;
    EXPECT_EQ(err.find("stopping"), std::string::npos) << err;
}

// --seconds still counts the whole stream, across readers.
TEST(SimPty, KeepOpenStillEndsAfterTheStreamTime) {
    SimProcess sim({"--scenario", "bands", "--seconds", "1", "--fast", "--keep-open"});
    const auto device = sim.FirstLine();
    ASSERT_TRUE(device);
    int fd = open(device->c_str(), O_RDONLY | O_NOCTTY);
    ASSERT_GE(fd, 0);
    const std::string first = ReadSome(fd, 100);
    close(fd);
    fd = open(device->c_str(), O_RDONLY | O_NOCTTY);
    ASSERT_GE(fd, 0);
    const std::string rest = ReadAll(fd);
    close(fd);
    EXPECT_EQ(first.size(), 100u);
    // What the first reader left unread in the device's queue is lost with
    // it, so only a bound holds: never more than the stream's 720 bytes.
    EXPECT_LE(first.size() + rest.size(), 720u);
    EXPECT_EQ(sim.Wait(), 0);
}

}  // namespace
}  // namespace veltra::sim::test
