#pragma once
// Modal message boxes, as the core asks for them. The Qt side shows a
// QMessageBox; tests record the request and answer it.

#include <string>

namespace veltra {

enum class PromptIcon { Exclamation, Question, Information, Critical };
enum class PromptButtons { Ok, YesNo };
// Dismissed: the user closed a Yes/No box without choosing (Escape, the close
// box), which must never be taken for either answer.
enum class PromptAnswer { Ok, Yes, No, Dismissed };

class Prompt {
public:
    virtual ~Prompt() = default;
    // Shows the box modally and returns the button the user pressed. Events
    // keep being handled while it is up.
    virtual PromptAnswer show(const std::string& title, const std::string& text, PromptIcon icon,
                              PromptButtons buttons) = 0;
};

}  // namespace veltra
