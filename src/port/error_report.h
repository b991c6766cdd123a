#pragma once
// The one way port failures reach the user: "Error <number>: <description>"
// in a box titled "Error" with the exclamation icon and an OK button, shown
// under the modal guard so that a topmost window cannot hide it.

#include <string>

#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "platform/window.h"
#include "port/serial_port.h"

namespace veltra {

std::string ErrorReportText(const PortError& error);

void ShowErrorReport(Prompt& prompt, TopMostOps& window, const SettingsStore& store,
                     const PortError& error);

}  // namespace veltra
