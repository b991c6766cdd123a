#pragma once
// The link to the detector: configures and opens the port, sets its line
// speed, and watches it once a second. The connection state is the port's
// own open state together with whether watchdogTimer runs:
//   Closed    port closed, watchdogTimer stopped
//   Watched   port open,   watchdogTimer running
//   Unwatched port open,   watchdogTimer stopped (the line speed could not be set)

#include <cstdint>
#include <functional>

#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "port/baud_rate.h"
#include "port/serial_port.h"

namespace veltra {

class Connection {
public:
    // The speed the detector talks at.
    static constexpr std::int32_t kLineSpeed = 7200;

    // `recvCount` reads the receive handler's moving count of notifications;
    // `setDefaults` puts the display back to its idle look. Takes over
    // `watchdogTimer`'s tick handler.
    Connection(SerialPort& port, SettingsStore& store, Timer& watchdogTimer, Prompt& prompt,
               TopMostOps& window, std::function<std::int32_t()> recvCount,
               std::function<void()> setDefaults, LineSpeedSetter setBaudRate = SetBaudRate);
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void Connect();
    void InitPort();
    bool IsPortOpen() const;
    void Disconnect();
    // One watchdog tick.
    void onWatchdogTick();

    // The receive count seen at the last tick at which it had moved. Never
    // reset: it keeps its value across connections.
    std::int32_t LastRecvCount = 0;

private:
    void report(const PortError& error);
    void initCommPort();

    SerialPort& port_;
    SettingsStore& store_;
    Timer& watchdogTimer_;
    Prompt& prompt_;
    TopMostOps& window_;
    std::function<std::int32_t()> recvCount_;
    std::function<void()> setDefaults_;
    LineSpeedSetter setBaudRate_;
    // Error boxes run nested event loops; a second Connect arriving from one
    // of them (the tray menu stays live) must not interleave with this one.
    bool connecting_ = false;
    // Counts openings, so a watchdog whose message outlived its connection
    // (the user disconnected and connected again meanwhile) leaves the new
    // connection alone.
    std::uint64_t openings_ = 0;
};

}  // namespace veltra
