#pragma once
// The rule around every modal box shown over the main window: leave the
// topmost band first, so the box is never hidden behind a topmost window,
// and afterwards re-enter it when the stored "OnTop" says so (the stored
// option decides, not the state the window had before).

#include <utility>

#include "platform/settings_store.h"
#include "platform/window.h"
#include "shell/settings.h"

namespace veltra {

template <class Show>
decltype(auto) ModalGuard(TopMostOps& window, const SettingsStore& store, Show&& show) {
    struct Restore {
        TopMostOps& window;
        const SettingsStore& store;
        ~Restore() {
            if (settings::ReadBool(store, "OnTop", settings::Use::ModalGuard)) {
                window.SetTopMost();
            }
        }
    };
    window.SetNotTopMost();
    Restore restore{window, store};
    return std::forward<Show>(show)();
}

}  // namespace veltra
