#include "shell/qt/x11_display_probe.h"

#include <xcb/xcb.h>

namespace veltra {

bool X11DisplayAnswers(const std::optional<std::string>& display) {
    // A connection that is opened and dropped again: the same handshake Qt's
    // xcb plugin makes, without the abort that follows its failure.
    xcb_connection_t* c = xcb_connect(display ? display->c_str() : nullptr, nullptr);
    const bool ok = xcb_connection_has_error(c) == 0;
    xcb_disconnect(c);
    return ok;
}

}  // namespace veltra
