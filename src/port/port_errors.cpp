#include "port/port_errors.h"

#include <cerrno>

namespace veltra::port_errors {

namespace {

// Appended piece by piece into one buffer: concatenating temporaries here
// makes g++ 12 at -O3 report a -Wrestrict overlap that cannot happen.
std::string Quoted(std::string_view s) {
    std::string quoted;
    quoted.reserve(s.size() + 2);
    quoted += '"';
    quoted += s;
    quoted += '"';
    return quoted;
}

PortError Make(int number, std::string text) {
    return PortError{number, std::move(text)};
}

}  // namespace

PortError BaudRateNotSet() {
    return Make(kBaudRateNotSet, "Could not set port to specified baud rate");
}

PortError PortNotOpen() {
    return Make(kPortNotOpen, "Operation valid only when the port is open");
}

PortError StateNotRead() {
    return Make(kStateNotRead, "Could not read current state of the port");
}

PortError WriteWhileOpen(std::string_view property, std::string_view device) {
    return Make(kWriteWhileOpen, std::string(property) + " cannot be changed while " +
                                     std::string(device) +
                                     " is open: disconnect, then connect again");
}

PortError InvalidPortNumber(int number) {
    return Make(kInvalidPortNumber, "Invalid port number " + std::to_string(number) +
                                        ": port numbers run from 1 to " +
                                        std::to_string(kMaxPortNumber));
}

PortError InvalidSettings(std::string_view settings, std::string_view why) {
    return Make(kInvalidSettings, "Invalid port settings " + Quoted(settings) + ": " +
                                      std::string(why) +
                                      " (expected speed,parity,data bits,stop bits, such as "
                                      "\"4800,n,8,1\")");
}

PortError InvalidValue(std::string_view property, std::string_view value,
                       std::string_view allowed) {
    return Make(kInvalidValue, "Invalid value " + Quoted(value) + " for " + std::string(property) +
                                   ": " + std::string(allowed));
}

PortError AlreadyOpen(std::string_view device) {
    return Make(kAlreadyOpen, "Port already open: " + std::string(device));
}

PortError UnsupportedValue(std::string_view property, std::string_view value,
                           std::string_view why) {
    return Make(kUnsupportedValue, std::string(property) + " " + Quoted(value) +
                                       " is not supported on this system: " + std::string(why));
}

PortError OpenFailure(std::string_view device, int osError, std::string_view reason) {
    std::string head = "Cannot open " + std::string(device) + ": " + std::string(reason);
    switch (osError) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return Make(kDeviceMissing, head +
                                            ". The device does not exist: plug in the "
                                            "detector's serial adapter or choose another port");
        case EACCES:
        case EPERM:
            return Make(kPermissionDenied, head + ". Add your user to the dialout group (" +
                                               std::string(kDialoutCommand) +
                                               "), then log in again");
        case EBUSY:
        case EEXIST:  // the device's lock file is held
        case EAGAIN:
            return Make(kDeviceBusy, head +
                                         ". The device is in use by another program: close "
                                         "that program, then connect again");
        case ENOTTY:
        case EISDIR:
        case ENOTDIR:
            return Make(kNotSerialDevice, head + ". " + std::string(device) +
                                              " is not a serial device: choose another port");
        case EIO:
            return Make(kOpenFailed, head +
                                         ". No serial hardware answers at this device: "
                                         "choose another port");
        default:
            return Make(kOpenFailed, head);
    }
}

PortError ModemLineFailed(std::string_view line, std::string_view device, std::string_view reason) {
    return Make(kModemLineFailed, "Could not set the " + std::string(line) + " line of " +
                                      std::string(device) + ": " + std::string(reason));
}

PortError CommPortNotNumber(std::string_view stored) {
    return Make(kCommPortNotNumber, "The setting \"CommPort\" is " + Quoted(stored) +
                                        ", which is not a port number: the port number is "
                                        "left as it was (choose a port under Options, Port...)");
}

}  // namespace veltra::port_errors
