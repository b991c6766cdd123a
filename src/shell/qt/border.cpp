#include "shell/qt/border.h"

#include <QWidget>
#include <QWindow>

namespace veltra {

void ApplyBorderStyle(QWidget* form, int borderStyle) {
    const bool frameless = borderStyle == kFrameless;
    // Keep the widget's own flags in step, so that a later re-creation of the
    // native window comes back with the same frame.
    Qt::WindowFlags flags = form->windowFlags();
    flags.setFlag(Qt::FramelessWindowHint, frameless);
    flags.setFlag(Qt::WindowMaximizeButtonHint, false);
    if (QWindow* w = form->windowHandle()) {
        // On an existing window this changes the decoration hints only: the
        // window stays shown, at its place, with the same X id.
        w->setFlags(flags);
        form->overrideWindowFlags(flags);
    } else {
        form->setWindowFlags(flags);
    }
}

bool IsFrameless(const QWidget* form) {
    return form->windowFlags().testFlag(Qt::FramelessWindowHint);
}

}  // namespace veltra
