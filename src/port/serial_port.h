#pragma once
// The serial port as the connection logic sees it. Configuration properties
// are written while the port is closed and take effect when it opens; every
// call that can fail returns the failure as a number and a description.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "platform/comm_event.h"

namespace veltra {

struct PortError {
    int number = 0;
    std::string description;
};

// Empty on success.
using PortResult = std::optional<PortError>;

class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual PortResult setCommPort(int number) = 0;
    virtual PortResult setSettings(const std::string& settings) = 0;
    // The DTR line: may be set at any time, open or closed (it is the mute line).
    virtual PortResult setDtrEnable(bool on) = 0;
    virtual PortResult setEofEnable(bool on) = 0;
    virtual PortResult setHandshaking(int mode) = 0;
    virtual PortResult setInBufferSize(int bytes) = 0;
    virtual PortResult setInputLen(int bytes) = 0;
    virtual PortResult setInputMode(int mode) = 0;
    virtual PortResult setNullDiscard(bool on) = 0;
    virtual PortResult setOutBufferSize(int bytes) = 0;
    virtual PortResult setParityReplace(const std::string& replacement) = 0;
    virtual PortResult setRThreshold(int bytes) = 0;
    virtual PortResult setRtsEnable(bool on) = 0;
    virtual PortResult setSThreshold(int bytes) = 0;

    virtual PortResult open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The operating system's handle of the open port, -1 while closed.
    virtual int nativeHandle() const = 0;

    // One call per arrival of at least one byte, with every waiting byte.
    using ReceiveHandler = std::function<void(int commEvent, std::span<const std::uint8_t> bytes)>;
    virtual void setReceiveHandler(ReceiveHandler handler) = 0;

    // Asked per arrival, off the program's thread, whether the handler must
    // have it at once. Arrivals that need not wait, in order, for the next
    // one that must, for deliverPending, or for at most a second. Takes
    // effect at the next open; a port that reads on the program's thread
    // hands every arrival on at once and ignores it.
    using UrgencyTest = std::function<bool(std::span<const std::uint8_t> bytes)>;
    virtual void setUrgencyTest(UrgencyTest test) = 0;
    // Hands every waiting arrival to the handler now.
    virtual void deliverPending() = 0;
};

}  // namespace veltra
