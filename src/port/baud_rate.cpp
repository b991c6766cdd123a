// termios2 comes from the kernel's <asm/termbits.h>, which redefines what the
// C library's <termios.h> declares; this file must never include both.
#include "port/baud_rate.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cstdlib>

#include "port/port_errors.h"

namespace veltra {

namespace {

bool ReadState(int fd, struct termios2& state) {
    state = {};
    return fd >= 0 && ioctl(fd, TCGETS2, &state) == 0;
}

// A driver reports the rate its divisor really gives, which can sit a little
// off the request; a UART link tolerates far more than this.
bool CloseEnough(std::uint32_t actual, std::int32_t wanted) {
    auto diff = std::llabs(static_cast<long long>(actual) - wanted);
    return diff * 100 <= wanted;
}

}  // namespace

PortResult SetBaudRate(SerialPort& port, std::int32_t speed) {
    if (!port.isOpen()) {
        return port_errors::PortNotOpen();
    }
    const int fd = port.nativeHandle();
    struct termios2 before;
    if (!ReadState(fd, before)) {
        return port_errors::StateNotRead();
    }
    // Speed 0 would hang up the line (it drops DTR and RTS); a negative one
    // is no speed at all.
    if (speed <= 0) {
        return port_errors::BaudRateNotSet();
    }
    struct termios2 wanted = before;
    wanted.c_cflag &= ~CBAUD;
    wanted.c_cflag |= BOTHER;
    wanted.c_ispeed = static_cast<speed_t>(speed);
    wanted.c_ospeed = static_cast<speed_t>(speed);
    if (ioctl(fd, TCSETS2, &wanted) != 0) {
        return port_errors::BaudRateNotSet();
    }
    struct termios2 after;
    if (!ReadState(fd, after) || !CloseEnough(after.c_ospeed, speed) ||
        (after.c_ispeed != 0 && !CloseEnough(after.c_ispeed, speed))) {
        ioctl(fd, TCSETS2, &before);
        return port_errors::BaudRateNotSet();
    }
    return std::nullopt;
}

std::optional<std::int32_t> ReadLineSpeed(int fd) {
    struct termios2 state;
    if (!ReadState(fd, state)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(state.c_ospeed);
}

}  // namespace veltra
