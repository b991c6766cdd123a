#pragma once
// A prompt whose every box follows ModalGuard: the main window leaves the
// topmost band while the box is up and re-enters it when "OnTop" says so.

#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "platform/window.h"
#include "shell/modal_guard.h"

namespace veltra {

class GuardedPrompt : public Prompt {
public:
    GuardedPrompt(Prompt& inner, TopMostOps& window, const SettingsStore& store)
        : inner_(inner), window_(window), store_(store) {}

    PromptAnswer show(const std::string& title, const std::string& text, PromptIcon icon,
                      PromptButtons buttons) override {
        return ModalGuard(window_, store_, [&] { return inner_.show(title, text, icon, buttons); });
    }

private:
    Prompt& inner_;
    TopMostOps& window_;
    const SettingsStore& store_;
};

}  // namespace veltra
