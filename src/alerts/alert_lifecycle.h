#pragma once
// What the program does when an alert begins and ends: after an alert has
// lasted "AutoMuteTime" seconds it pulses DTR to ask the detector to mute
// (autoMuteTimer), and "AutoHideTime" seconds after an alert has ended it minimises
// the main window (autoHideTimer). The display decoder calls BeginAlert/EndAlert on
// the transitions; user actions on the window call NoAutoHide.
//
// The options are read afresh at every use, so a change in the settings
// dialog applies from the next alert or tick on.

#include <cstdint>

#include "platform/clock.h"
#include "platform/settings_store.h"
#include "platform/task_queue.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "port/serial_port.h"

namespace veltra {

class AlertLifecycle {
public:
    // Installs onAutoHideTick and onAutoMuteTick as the ticks of `autoHideTimer` and
    // `autoMuteTimer`; the timers must be stopped and must outlive this object, and
    // so must what `later` still holds for it.
    AlertLifecycle(const SettingsStore& store, Timer& autoHideTimer, Timer& autoMuteTimer,
                   SerialPort& port, MainWindowOps& window, const MonotonicClock& clock,
                   EventPump& pump, TaskQueue& later);
    AlertLifecycle(const AlertLifecycle&) = delete;
    AlertLifecycle& operator=(const AlertLifecycle&) = delete;

    // An alert has begun: arm the mute (or send it as soon as the receive
    // event has returned, when its time is 0) and drop an auto-hide still
    // pending from the previous alert.
    void BeginAlert();
    // An alert has ended: arm the auto-hide (or minimise now when its time
    // is 0). A pending mute is left to go out.
    void EndAlert();
    // One mute pulse: DTR on, a little over 100 ms, DTR off. Pending events
    // keep running during the wait, so this may be re-entered.
    void AutoMute();
    // Cancels a pending auto-hide.
    void NoAutoHide();
    // Drops a mute still counting down, for when the alert it belongs to is
    // no longer the detector's (the link was given up for a replay).
    void CancelMute();
    // Auto-hide countdown, once a second while autoHideTimer runs.
    void onAutoHideTick();
    // Auto-mute countdown, once a second while autoMuteTimer runs.
    void onAutoMuteTick();

    // Ticks of autoHideTimer counted since the alert ended.
    std::int16_t HideTicks = 0;
    // Ticks of autoMuteTimer counted towards the mute; reset only by onAutoMuteTick,
    // so it stands at 1 after every mute.
    std::int16_t MuteTicks = 0;
    // The on-screen mute button is held down: the auto-hide count pauses.
    bool MuteHeld = false;

private:
    const SettingsStore& store_;
    Timer& autoHideTimer_;
    Timer& autoMuteTimer_;
    SerialPort& port_;
    MainWindowOps& window_;
    const MonotonicClock& clock_;
    EventPump& pump_;
    TaskQueue& later_;
};

}  // namespace veltra
