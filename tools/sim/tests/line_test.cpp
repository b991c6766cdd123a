// --out to a terminal line: the simulator sets it to 7200 bit/s raw and
// writes the stream through it unchanged. A pty stands in for the serial
// port; it carries the speed setting like a real line.

#include <asm/termbits.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>

#include "sim_process.h"

namespace veltra::sim::test {
namespace {

TEST(SimLine, OutToATerminalSetsTheLineAndSendsTheStream) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    char device[128];
    ASSERT_EQ(ptsname_r(master, device, sizeof device), 0);
    // Held open so the line outlives the simulator and can be looked at.
    const int line = open(device, O_RDWR | O_NOCTTY);
    ASSERT_GE(line, 0);

    char reference[] = "/tmp/simline.XXXXXX";
    const int ref = mkstemp(reference);
    ASSERT_GE(ref, 0);
    close(ref);
    ASSERT_EQ(RunSim({"--scenario", "laser", "--fast", "--out", reference}), 0);
    const std::string expected = FileContents(reference);
    std::remove(reference);

    SimProcess sim({"--scenario", "laser", "--fast", "--out", device});
    // Read while it writes: the line holds only a few kilobytes.
    const std::string got = ReadSome(master, expected.size());
    EXPECT_EQ(sim.Wait(), 0) << sim.Stderr();
    EXPECT_TRUE(got == expected) << got.size() << " of " << expected.size() << " bytes";

    termios2 t{};
    ASSERT_EQ(ioctl(line, TCGETS2, &t), 0);
    EXPECT_EQ(t.c_ospeed, 7200u);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);  // no output processing would alter a byte
    close(line);
    close(master);
}

}  // namespace
}  // namespace veltra::sim::test
