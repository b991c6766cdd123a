// The line speed on a real pseudo-terminal. This file reads termios2 itself,
// so it opens the pty with posix_openpt rather than <pty.h>, whose
// <termios.h> clashes with <asm/termbits.h>.
#include "port/baud_rate.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>

#include "port/port_errors.h"
#include "support/fake_serial_port.h"

namespace veltra {
namespace {

// A port whose handle is a file descriptor of the test's choosing.
class HandlePort : public test::FakeSerialPort {
public:
    int nativeHandle() const override { return isOpen() ? fd : -1; }
    int fd = -1;
};

class Pty {
public:
    Pty() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0) {
            slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
        }
    }
    ~Pty() {
        ::close(slave);
        ::close(master);
    }
    int master = -1;
    int slave = -1;
};

struct termios2 State(int fd) {
    struct termios2 t {};
    EXPECT_EQ(ioctl(fd, TCGETS2, &t), 0);
    return t;
}

void SetSpeed(int fd, unsigned speed) {
    struct termios2 t = State(fd);
    t.c_cflag = (t.c_cflag & ~CBAUD) | BOTHER;
    t.c_ispeed = t.c_ospeed = speed;
    ASSERT_EQ(ioctl(fd, TCSETS2, &t), 0);
}

class BaudRate : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(pty.slave, 0);
        port.fd = pty.slave;
        SetSpeed(pty.slave, 4800);
    }
    Pty pty;
    HandlePort port;
};

TEST_F(BaudRate, SetsTheSpeedAndLeavesTheRestOfTheLineAsItWas) {
    ASSERT_FALSE(port.open());
    struct termios2 before = State(pty.slave);
    ASSERT_FALSE(SetBaudRate(port, 7200));
    struct termios2 after = State(pty.slave);
    EXPECT_EQ(after.c_ospeed, 7200u);
    EXPECT_EQ(after.c_ispeed, 7200u);
    EXPECT_EQ(after.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
    EXPECT_EQ(after.c_cflag & ~CBAUD, before.c_cflag & ~CBAUD);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(ReadLineSpeed(pty.slave), 7200);
}

TEST_F(BaudRate, ClosedPortFails8018AndTouchesNothing) {
    auto e = SetBaudRate(port, 7200);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number, 8018);
    EXPECT_EQ(e->description, "Operation valid only when the port is open");
    EXPECT_EQ(ReadLineSpeed(pty.slave), 4800);
}

TEST_F(BaudRate, UnreadableStateFails8021) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    port.fd = pipeFds[0];
    ASSERT_FALSE(port.open());
    auto e = SetBaudRate(port, 7200);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number, 8021);
    EXPECT_EQ(e->description, "Could not read current state of the port");
    EXPECT_FALSE(ReadLineSpeed(-1));
}

TEST_F(BaudRate, ASpeedThatIsNoSpeedFails8015AndKeepsThePreviousOne) {
    ASSERT_FALSE(port.open());
    for (std::int32_t bad : {0, -7200}) {
        auto e = SetBaudRate(port, bad);
        ASSERT_TRUE(e) << bad;
        EXPECT_EQ(e->number, 8015);
        EXPECT_EQ(e->description, "Could not set port to specified baud rate");
        EXPECT_EQ(ReadLineSpeed(pty.slave), 4800);
    }
}

}  // namespace
}  // namespace veltra
