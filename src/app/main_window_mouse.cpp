// Moving the window by its face, the frameless minimise box, the on-screen
// mute button, and resizing a frameless window at its edges.

#include <QMouseEvent>
#include <QWindow>

#include "app/main_window.h"
#include "shell/qt/border.h"
#include "shell/qt/face_widget.h"

namespace veltra {

namespace {

// How close to the edge of a frameless window a press starts a resize.
constexpr int kResizeMargin = 6;

Qt::Edges EdgesAt(const QWidget* w, QPoint local) {
    Qt::Edges edges;
    if (local.x() < kResizeMargin) {
        edges |= Qt::LeftEdge;
    }
    if (local.x() >= w->width() - kResizeMargin) {
        edges |= Qt::RightEdge;
    }
    if (local.y() < kResizeMargin) {
        edges |= Qt::TopEdge;
    }
    if (local.y() >= w->height() - kResizeMargin) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

}  // namespace

void MainWindow::onFaceMousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                    QPoint global) {
    Q_UNUSED(modifiers);
    alerts_->NoAutoHide();
    dragByHand_ = false;
    dragOffset_ = global - pos();
    if (button == Qt::RightButton) {
        popupMenuAtCursor();
        return;
    }
    if (button == Qt::LeftButton && IsFrameless(this) && windowHandle() != nullptr) {
        // Without a frame the window still resizes at its edges.
        const Qt::Edges edges = EdgesAt(this, mapFromGlobal(global));
        if (edges && windowHandle()->startSystemResize(edges)) {
            return;
        }
    }
}

void MainWindow::onFaceMouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                  QPoint global) {
    Q_UNUSED(modifiers);
    if (windowState() == WindowState::Minimised) {
        return;
    }
    if (buttons == Qt::LeftButton) {
        // The window manager runs its own move loop, as if the title bar had
        // been pressed; without one the window follows the mouse by hand.
        if (dragByHand_ || windowHandle() == nullptr || !windowHandle()->startSystemMove()) {
            dragByHand_ = true;
            move(global - dragOffset_);
        }
    }
    unsetCursor();
}

void MainWindow::onFaceMouseReleased() {
    dragByHand_ = false;
    unsetCursor();
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    onFaceMousePressed(event->button(), event->modifiers(), event->globalPosition().toPoint());
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    onFaceMouseMoved(event->buttons(), event->modifiers(), event->globalPosition().toPoint());
}

void MainWindow::mouseReleaseEvent(QMouseEvent*) {
    onFaceMouseReleased();
}

void MainWindow::onMinimiseBoxClicked() {
    setWindowState(WindowState::Minimised);
}

void MainWindow::onMuteButtonPressed() {
    port_->setDtrEnable(true);
    face_->setMuteFace(true);
    alerts_->MuteHeld = true;
}

void MainWindow::onMuteButtonReleased() {
    port_->setDtrEnable(false);
    face_->setMuteFace(false);
    alerts_->MuteHeld = false;
}

}  // namespace veltra
