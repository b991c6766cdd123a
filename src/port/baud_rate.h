#pragma once
// The line speed of an open port, set past the port's own settings string:
// the detector talks at 7200 bit/s, which the standard speed list lacks.

#include <cstdint>
#include <functional>
#include <optional>

#include "port/serial_port.h"

namespace veltra {

// Reads the port's line state, changes only its speed (input and output) to
// `speed`, writes it back, and reads it again to confirm. Fails with 8018 when
// the port is closed, 8021 when the state cannot be read, 8015 when the speed
// is not taken; on failure the port keeps its previous speed.
PortResult SetBaudRate(SerialPort& port, std::int32_t speed);

// How the connection sets the line speed; tests put a failing one in.
using LineSpeedSetter = std::function<PortResult(SerialPort&, std::int32_t)>;

// The output speed of the serial device open as `fd`, in bit/s; nothing when
// its state cannot be read.
std::optional<std::int32_t> ReadLineSpeed(int fd);

}  // namespace veltra
