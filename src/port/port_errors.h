#pragma once
// Every failure the serial port layer reports, with its number. This is the
// one place the numbers are defined; the texts are built here too, so that a
// failure always names the device, the operating system's reason, and the fix
// when there is one.
//
//  8015  Could not set port to specified baud rate        (line speed)
//  8018  Operation valid only when the port is open       (line speed)
//  8021  Could not read current state of the port         (line speed)
//  9001  a property written while the port is open
//  9002  a port number outside 1..kMaxPortNumber
//  9003  a settings string that does not read as "speed,parity,data,stop"
//  9004  a property value outside what the property takes
//  9005  opening a port that is already open
//  9006  a property value this system cannot carry out
//  9010  opening: the device does not exist
//  9011  opening: permission denied
//  9012  opening: the device is in use by another program
//  9013  opening: the path is not a serial device
//  9014  opening: any other reason given by the operating system
//  9020  a modem line (DTR, RTS) could not be set
//  9030  the "CommPort" setting is not a port number

#include <string>
#include <string_view>

#include "port/serial_port.h"

namespace veltra::port_errors {

// How a user gets the right to open serial ports. usermod is on every
// distribution; readme.txt gives the same command.
inline constexpr std::string_view kDialoutCommand = "sudo usermod -aG dialout $USER";

inline constexpr int kBaudRateNotSet = 8015;
inline constexpr int kPortNotOpen = 8018;
inline constexpr int kStateNotRead = 8021;

inline constexpr int kWriteWhileOpen = 9001;
inline constexpr int kInvalidPortNumber = 9002;
inline constexpr int kInvalidSettings = 9003;
inline constexpr int kInvalidValue = 9004;
inline constexpr int kAlreadyOpen = 9005;
inline constexpr int kUnsupportedValue = 9006;
inline constexpr int kDeviceMissing = 9010;
inline constexpr int kPermissionDenied = 9011;
inline constexpr int kDeviceBusy = 9012;
inline constexpr int kNotSerialDevice = 9013;
inline constexpr int kOpenFailed = 9014;
inline constexpr int kModemLineFailed = 9020;
inline constexpr int kCommPortNotNumber = 9030;

inline constexpr int kMaxPortNumber = 255;

PortError BaudRateNotSet();
PortError PortNotOpen();
PortError StateNotRead();

PortError WriteWhileOpen(std::string_view property, std::string_view device);
PortError InvalidPortNumber(int number);
PortError InvalidSettings(std::string_view settings, std::string_view why);
PortError InvalidValue(std::string_view property, std::string_view value, std::string_view allowed);
PortError AlreadyOpen(std::string_view device);
PortError UnsupportedValue(std::string_view property, std::string_view value, std::string_view why);
// A failed open, classified by the operating system's error number (errno);
// `reason` is the system's own text for it.
PortError OpenFailure(std::string_view device, int osError, std::string_view reason);
PortError ModemLineFailed(std::string_view line, std::string_view device, std::string_view reason);
PortError CommPortNotNumber(std::string_view stored);

}  // namespace veltra::port_errors
