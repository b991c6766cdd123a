#pragma once
// Turns one frame text into the display state, tells the window, and tells
// the alert lifecycle when an alert (first signal dot lit) begins and ends.

#include <string_view>

#include "link/display_state.h"
#include "platform/window.h"

namespace veltra {

// The window's replica of the display; shown after every change of state.
class DisplayView {
public:
    virtual ~DisplayView() = default;
    virtual void ShowState(const DisplayState& state) = 0;
};

// The alert lifecycle. Either call may run nested events (the mute pulse
// waits with the event loop running), including another Process.
class AlertHooks {
public:
    virtual ~AlertHooks() = default;
    virtual void BeginAlert() = 0;
    virtual void EndAlert() = 0;
};

class DisplayDecoder {
public:
    DisplayDecoder(DisplayView& view, AlertHooks& alerts, MainWindowOps& window)
        : view_(view), alerts_(alerts), window_(window) {}
    DisplayDecoder(const DisplayDecoder&) = delete;
    DisplayDecoder& operator=(const DisplayDecoder&) = delete;

    // `sData` is a 74-character frame text; bytes it does not hold read as 0.
    void Process(std::string_view sData);
    // Every element unlit. The alert, if any, goes on: InAlert is untouched.
    void SetDefaults();

    const DisplayState& state() const { return state_; }

    // True from the frame that lights the first signal dot until the first
    // frame that leaves it unlit.
    bool InAlert = false;

private:
    DisplayView& view_;
    AlertHooks& alerts_;
    MainWindowOps& window_;
    DisplayState state_;
};

}  // namespace veltra
