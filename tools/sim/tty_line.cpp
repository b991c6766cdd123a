// Kept apart from everything else: <asm/termbits.h> and <termios.h> define
// the same names and cannot meet in one file.
#include "tty_line.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>

namespace veltra::sim {

bool SetLine7200(int fd, std::string& error) {
    constexpr unsigned kSpeed = 7200;
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0) {
        error = std::string("TCGETS2: ") + std::strerror(errno);
        return false;
    }
    t.c_iflag = IGNBRK;
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag = CS8 | CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = kSpeed;
    t.c_ospeed = kSpeed;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (ioctl(fd, TCSETS2, &t) != 0) {
        error = std::string("TCSETS2: ") + std::strerror(errno);
        return false;
    }
    termios2 back{};
    if (ioctl(fd, TCGETS2, &back) != 0) {
        error = std::string("TCGETS2: ") + std::strerror(errno);
        return false;
    }
    if (back.c_ospeed != kSpeed) {
        error = "the line runs at " + std::to_string(back.c_ospeed) + " bit/s, not 7200";
        return false;
    }
    return true;
}

}  // namespace veltra::sim
