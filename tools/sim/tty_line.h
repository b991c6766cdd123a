#pragma once
// Line settings for a real serial port written to with --out.

#include <string>

namespace veltra::sim {

// Raw, 8 data bits, no parity, 1 stop bit, no flow control, 7200 bit/s
// (not a standard rate: set through termios2 with BOTHER and read back).
// False with the reason in `error` when the line refuses it.
bool SetLine7200(int fd, std::string& error);

}  // namespace veltra::sim
