#include "shell/qt/qt_top_most.h"

#include <QWindow>

namespace veltra {

QtTopMost::QtTopMost(QWidget* window) : window_(window) {}

void QtTopMost::SetTopMost() {
    Apply(true);
}

void QtTopMost::SetNotTopMost() {
    Apply(false);
}

void QtTopMost::Apply(bool on) {
    if (!window_) {
        return;
    }
    QWidget* top = window_->window();
    // QWidget::setWindowFlag would hide the window and create a new native
    // one (a new X window, shown again elsewhere). The native window takes
    // the hint in place; the widget's own flags are kept in step without
    // telling the window system, so a later re-creation keeps the state.
    top->overrideWindowFlags(top->windowFlags().setFlag(Qt::WindowStaysOnTopHint, on));
    if (QWindow* handle = top->windowHandle()) {
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
    }
}

}  // namespace veltra
