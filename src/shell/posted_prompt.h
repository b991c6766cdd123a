#pragma once
// A prompt for code that runs inside the serial receive event. A modal box
// runs its own event loop, and while the receive handler has not returned
// the port announces no more data: nothing would be received behind the
// box, and the link watchdog would take the silence for a lost link. So a
// box that only informs is posted, to come up once the event has returned,
// and receiving, decoding and displaying go on while it is up.

#include <utility>

#include "platform/prompt.h"
#include "platform/task_queue.h"

namespace veltra {

class PostedPrompt : public Prompt {
public:
    PostedPrompt(Prompt& inner, TaskQueue& queue) : inner_(inner), queue_(queue) {}

    // An OK box is posted and answered Ok at once. A question is asked
    // straight away: its caller needs the answer.
    PromptAnswer show(const std::string& title, const std::string& text, PromptIcon icon,
                      PromptButtons buttons) override {
        if (buttons != PromptButtons::Ok) {
            return inner_.show(title, text, icon, buttons);
        }
        queue_.Post([&inner = inner_, title, text, icon, buttons] {
            inner.show(title, text, icon, buttons);
        });
        return PromptAnswer::Ok;
    }

private:
    Prompt& inner_;
    TaskQueue& queue_;
};

}  // namespace veltra
