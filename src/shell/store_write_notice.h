#pragma once
// Tells the user, once per run, that options cannot be kept because the
// settings store cannot be written. Every later change fails for the same
// reason; a box for each would only get in the way.

#include <string>

#include "platform/prompt.h"

namespace veltra {

class StoreWriteNotice {
public:
    explicit StoreWriteNotice(Prompt& prompt) : prompt_(prompt) {}

    void onWriteFailed(const std::string& message) {
        if (told_ || quiet_) {
            return;
        }
        // Set first: the box runs a nested event loop in which another
        // write may fail.
        told_ = true;
        prompt_.show("Veltra Scope", message, PromptIcon::Exclamation, PromptButtons::Ok);
    }

    // While ending on a signal nobody is there to answer a box.
    void setQuiet(bool quiet) { quiet_ = quiet; }
    bool told() const { return told_; }

private:
    Prompt& prompt_;
    bool told_ = false;
    bool quiet_ = false;
};

}  // namespace veltra
