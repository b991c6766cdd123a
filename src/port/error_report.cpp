#include "port/error_report.h"

#include "shell/modal_guard.h"

namespace veltra {

std::string ErrorReportText(const PortError& error) {
    return "Error " + std::to_string(error.number) + ": " + error.description;
}

void ShowErrorReport(Prompt& prompt, TopMostOps& window, const SettingsStore& store,
                     const PortError& error) {
    ModalGuard(window, store, [&] {
        prompt.show("Error", ErrorReportText(error), PromptIcon::Exclamation, PromptButtons::Ok);
    });
}

}  // namespace veltra
