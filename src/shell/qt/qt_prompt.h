#pragma once
// Message boxes for the core: a QMessageBox with the given title, text, icon
// and buttons, modal over the main window.

#include <QPointer>
#include <QWidget>

#include "platform/prompt.h"

namespace veltra {

class QtPrompt : public Prompt {
public:
    // `parent` is the window the boxes belong to; it may be null, and it may
    // go away before a box is shown or while one is up.
    explicit QtPrompt(QWidget* parent);

    // Lines of the text may end in "\r\n"; they are shown as separate lines.
    // The text is shown as it is, never read as markup. Closing a Yes/No box
    // without choosing (Escape, the close box, its window going away) answers
    // Dismissed, not No: No may destroy data.
    PromptAnswer show(const std::string& title, const std::string& text, PromptIcon icon,
                      PromptButtons buttons) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace veltra
