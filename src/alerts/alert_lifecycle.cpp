#include "alerts/alert_lifecycle.h"

#include <chrono>
#include <limits>

#include "shell/settings.h"

namespace veltra {

namespace {

// The detector takes a DTR pulse longer than this as a mute request.
constexpr std::chrono::milliseconds kMutePulse{100};

// The counters are 16-bit; a count can never usefully pass the largest
// time a reader returns, but it must not wrap into a negative count either.
void CountTick(std::int16_t& ticks) {
    if (ticks < std::numeric_limits<std::int16_t>::max()) {
        ++ticks;
    }
}

}  // namespace

AlertLifecycle::AlertLifecycle(const SettingsStore& store, Timer& autoHideTimer,
                               Timer& autoMuteTimer, SerialPort& port, MainWindowOps& window,
                               const MonotonicClock& clock, EventPump& pump, TaskQueue& later)
    : store_(store),
      autoHideTimer_(autoHideTimer),
      autoMuteTimer_(autoMuteTimer),
      port_(port),
      window_(window),
      clock_(clock),
      pump_(pump),
      later_(later) {
    autoHideTimer_.setOnTick([this] { onAutoHideTick(); });
    autoMuteTimer_.setOnTick([this] { onAutoMuteTick(); });
}

void AlertLifecycle::BeginAlert() {
    // The pending auto-hide is dropped before the mute rather than after it:
    // an immediate mute runs pending events for 100 ms, and an auto-hide tick
    // among them must not minimise the window as the alert begins.
    HideTicks = 0;
    autoHideTimer_.stop();
    if (settings::ReadBool(store_, "AutoMute", settings::Use::BeginAlert)) {
        if (settings::ReadBool(store_, "AutoMuteTime", settings::Use::BeginAlert)) {
            autoMuteTimer_.start();
        } else {
            // This runs inside the receive event, which must not wait: while
            // it has not returned no more data is announced, and anything
            // modal opened during the pulse (a menu command, the watchdog's
            // box) would stop reception until it closed.
            later_.Post([this] { AutoMute(); });
        }
    }
}

void AlertLifecycle::EndAlert() {
    if (settings::ReadBool(store_, "AutoHide", settings::Use::EndAlert)) {
        if (settings::ReadBool(store_, "AutoHideTime", settings::Use::EndAlert)) {
            autoHideTimer_.start();
        } else {
            window_.setWindowState(WindowState::Minimised);
        }
    }
}

void AlertLifecycle::AutoMute() {
    // A closed port keeps its line state to itself; the port layer deals
    // with that, and a mute request reports nothing either way.
    (void)port_.setDtrEnable(true);
    const auto raised = clock_.now();
    while (clock_.now() - raised <= kMutePulse) {
        pump_.processEvents();
    }
    (void)port_.setDtrEnable(false);
}

void AlertLifecycle::NoAutoHide() {
    autoHideTimer_.stop();
    HideTicks = 0;
}

void AlertLifecycle::CancelMute() {
    autoMuteTimer_.stop();
    // Where a mute that went out would have left the count, so that the
    // next alert's mute comes at the same time as after any other alert.
    MuteTicks = 1;
}

void AlertLifecycle::onAutoHideTick() {
    if (MuteHeld) {
        return;
    }
    const int n = settings::ReadInt(store_, "AutoHideTime", settings::Use::TimerTick);
    if (HideTicks >= n) {
        window_.setWindowState(WindowState::Minimised);
        HideTicks = 0;
        autoHideTimer_.stop();
    }
    CountTick(HideTicks);
}

void AlertLifecycle::onAutoMuteTick() {
    const int n = settings::ReadInt(store_, "AutoMuteTime", settings::Use::TimerTick);
    if (MuteTicks >= n) {
        autoMuteTimer_.stop();
        AutoMute();
        MuteTicks = 0;
    }
    CountTick(MuteTicks);
}

}  // namespace veltra
